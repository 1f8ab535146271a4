#include "AtSpiCallCheck.h"

#include <limits>

namespace {

const QString invalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");

// What each argument of a call may be, a letter an argument: an offset in the text (o), the end
// of a range, -1 for the end of the text (e), a text boundary type (b), a coordinate type (c), the
// index of a selection (s), an action (a), a child (h), a row (r), a column (k) or a cell (x) of a
// table; "." takes any value.
struct ArgumentBounds
{
    const char *interface;
    const char *method;
    const char *bounds;
};

constexpr ArgumentBounds argumentBounds[] = {
    { "Accessible", "GetChildAtIndex", "h" },
    { "Action", "GetDescription", "a" },
    { "Action", "GetName", "a" },
    { "Action", "GetKeyBinding", "a" },
    { "Action", "DoAction", "a" },
    { "Component", "Contains", "..c" },
    { "Component", "GetAccessibleAtPoint", "..c" },
    { "Component", "GetExtents", "c" },
    { "Component", "GetPosition", "c" },
    { "Component", "SetExtents", "....c" },
    { "Component", "SetPosition", "..c" },
    { "EditableText", "InsertText", "o" },
    { "EditableText", "CopyText", "oo" },
    { "EditableText", "CutText", "oo" },
    { "EditableText", "DeleteText", "oo" },
    { "EditableText", "PasteText", "o" },
    { "Table", "GetAccessibleAt", "rk" },
    { "Table", "GetIndexAt", "rk" },
    { "Table", "GetRowAtIndex", "x" },
    { "Table", "GetColumnAtIndex", "x" },
    { "Table", "GetRowDescription", "r" },
    { "Table", "GetColumnDescription", "k" },
    { "Table", "GetRowExtentAt", "rk" },
    { "Table", "GetColumnExtentAt", "rk" },
    { "Table", "GetRowHeader", "r" },
    { "Table", "GetColumnHeader", "k" },
    { "Table", "IsRowSelected", "r" },
    { "Table", "IsColumnSelected", "k" },
    { "Table", "IsSelected", "rk" },
    { "Table", "AddRowSelection", "r" },
    { "Table", "AddColumnSelection", "k" },
    { "Table", "RemoveRowSelection", "r" },
    { "Table", "RemoveColumnSelection", "k" },
    { "Table", "GetRowColumnExtentsAtIndex", "x" },
    { "Text", "GetText", "oe" },
    { "Text", "SetCaretOffset", "o" },
    { "Text", "GetTextBeforeOffset", "ob" },
    { "Text", "GetTextAtOffset", "ob" },
    { "Text", "GetTextAfterOffset", "ob" },
    { "Text", "GetCharacterAtOffset", "o" },
    { "Text", "GetAttributeValue", "o" },
    { "Text", "GetAttributes", "o" },
    { "Text", "GetAttributeRun", "o" },
    { "Text", "GetCharacterExtents", "oc" },
    { "Text", "GetOffsetAtPoint", "..c" },
    { "Text", "GetSelection", "s" },
    { "Text", "AddSelection", "oo" },
    { "Text", "RemoveSelection", "s" },
    { "Text", "SetSelection", "soo" },
    { "Text", "GetRangeExtents", "..c" },
    { "Text", "GetBoundedRanges", "....c" },
};

// The values a bound letter allows.
std::pair<qint64, qint64> allowed(char bound, const AtSpiLimits &limits)
{
    switch (bound) {
    case 'o':
        return { 0, limits.characters };
    case 'e':
        return { -1, std::numeric_limits<int>::max() };
    case 'b':
        return { 0, 6 };
    case 'c':
        return { 0, 2 };
    case 's':
        return { 0, limits.selections - 1 };
    case 'a':
        return { 0, limits.actions - 1 };
    case 'h':
        return { 0, limits.children - 1 };
    case 'r':
        return { 0, limits.rows - 1 };
    case 'k':
        return { 0, limits.columns - 1 };
    case 'x':
        return { 0, qint64(limits.rows) * limits.columns - 1 };
    }
    return { std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max() };
}

std::optional<AtSpiRefusal> outOfBounds(const AtSpiCall &call, const AtSpiLimits &limits)
{
    for (const ArgumentBounds &entry : argumentBounds) {
        if (call.interface != QLatin1String("org.a11y.atspi.") + QLatin1String(entry.interface)
            || call.member != QLatin1String(entry.method))
            continue;
        for (qsizetype i = 0; entry.bounds[i] && i < call.arguments.size(); ++i) {
            const auto [least, most] = allowed(entry.bounds[i], limits);
            const qint64 value = call.arguments[i].toLongLong();
            if (value < least || value > most)
                return AtSpiRefusal { invalidArgs,
                    QStringLiteral("Argument %1 is %2, outside %3 to %4")
                        .arg(i)
                        .arg(value)
                        .arg(least)
                        .arg(most) };
        }
    }
    return std::nullopt;
}

// Methods that Qt 6.4's bridge declares but cannot take: it cannot send its answer to the first,
// so the caller would wait in vain, and takes the second for the setting of the property
// CurrentValue, reading arguments that the call does not have.
bool declaredButBroken(const AtSpiCall &call)
{
    return (call.interface == u"org.a11y.atspi.Text" && call.member == u"GetBoundedRanges")
        || (call.interface == u"org.a11y.atspi.Value" && call.member == u"SetCurrentValue");
}

// Get and Set name an interface and a property of it, which must be declared, and settable to be
// set; GetAll is refused, as the bridge behind cannot answer it.
std::optional<AtSpiRefusal> propertyRefusal(
    const AtSpiCall &call, const AtSpiInterfaces &interfaces)
{
    const bool get = call.member == u"Get" && call.signature == u"ss";
    const bool set = call.member == u"Set" && call.signature == u"ssv";
    if (call.member == u"GetAll")
        return AtSpiRefusal { QStringLiteral("org.freedesktop.DBus.Error.NotSupported"),
            QStringLiteral("Properties are read one at a time") };
    if (!get && !set)
        return AtSpiRefusal { invalidArgs, QStringLiteral("Not a call of Get or Set") };
    const auto interface = interfaces.constFind(call.arguments[0].toString());
    const QString property = call.arguments[1].toString();
    if (interface == interfaces.cend() || !interface->properties.contains(property))
        return AtSpiRefusal { QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"),
            QStringLiteral("No property ") + property };
    if (set && !interface->properties.value(property))
        return AtSpiRefusal { QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly"),
            QStringLiteral("Property ") + property + QStringLiteral(" cannot be set") };
    return std::nullopt;
}

} // namespace

std::optional<AtSpiRefusal> refusalOf(
    const AtSpiCall &call, const AtSpiInterfaces &interfaces, const AtSpiLimits &limits)
{
    if (call.interface == u"org.freedesktop.DBus.Introspectable"
        || call.interface == u"org.freedesktop.DBus.Peer")
        return std::nullopt;
    if (call.interface == properties)
        return propertyRefusal(call, interfaces);
    const auto interface = interfaces.constFind(call.interface);
    if (interface == interfaces.cend())
        return AtSpiRefusal { QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
            QStringLiteral("No interface ") + call.interface };
    const auto method = interface->methods.constFind(call.member);
    if (method == interface->methods.cend())
        return AtSpiRefusal { QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
            QStringLiteral("No method ") + call.member };
    if (declaredButBroken(call))
        return AtSpiRefusal { QStringLiteral("org.freedesktop.DBus.Error.NotSupported"),
            QStringLiteral("No answer to ") + call.member };
    if (call.signature != *method)
        return AtSpiRefusal { invalidArgs,
            QStringLiteral("Arguments of type '%1' where '%2' is expected")
                .arg(call.signature, *method) };
    return outOfBounds(call, limits);
}

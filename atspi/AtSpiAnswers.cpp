#include "AtSpiAnswers.h"

#include "AtSpiPaths.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QWindow>
#include <algorithm>
#include <private/qhighdpiscaling_p.h>
#include <qpa/qplatformwindow.h>

namespace {

enum CoordType { Screen, Window, Parent };

// The answer for a character or a range that has no place on the screen.
const QRect nowhere(-1, -1, 0, 0);

// No text box of the program shows more characters at once than this.
constexpr int charactersInView = 1 << 16;

// Measured from the window's own place on the screen: its logical position, the device one divided
// by the scale, is rounded.
QRect devicePixels(const QRect &logical, const QWindow *window)
{
    if (!window || !window->handle())
        return QHighDpi::toNativeGlobalPosition(logical, window);
    const qreal scale = QHighDpiScaling::factor(window);
    const QPointF inWindow = QPointF(logical.topLeft() - window->position()) * scale;
    return { window->handle()->geometry().topLeft() + inWindow.toPoint(), logical.size() * scale };
}

QPoint logicalPixels(QPoint device, const QWindow *window)
{
    if (!window || !window->handle()) {
        const QPointF logical = QHighDpi::fromNativeGlobalPosition(QPointF(device), window);
        return { qFloor(logical.x()), qFloor(logical.y()) };
    }
    const QPointF inWindow = QPointF(device - window->handle()->geometry().topLeft())
        / QHighDpiScaling::factor(window);
    return window->position() + QPoint(qFloor(inWindow.x()), qFloor(inWindow.y()));
}

QRect extentsOnScreen(QAccessibleInterface *interface)
{
    return devicePixels(interface->rect(), interface->window());
}

QAccessibleInterface *parentOf(QAccessibleInterface *interface)
{
    QAccessibleInterface *parent = interface->parent();
    return parent && parent->role() != QAccessible::Application ? parent : nullptr;
}

// Where the coordinates of `coordType` start, on the screen in device pixels: the top left of the
// window that holds `interface`, of its parent, or of the screen.
QPoint origin(QAccessibleInterface *interface, uint coordType)
{
    QAccessibleInterface *reference = coordType == Parent ? parentOf(interface) : nullptr;
    if (coordType == Window)
        for (QAccessibleInterface *up = interface; up; up = parentOf(up))
            reference = up;
    return reference ? extentsOnScreen(reference).topLeft() : QPoint();
}

// The characters of [start, end) that `view` shows, which run from top to bottom, so the first and
// the last of them are found by halving and only those between are measured; where none is in
// view, the first character's rectangle.
QRect rangeInView(QAccessibleTextInterface *text, int start, int end, const QRect &view)
{
    const auto firstWhere = [&](int from, auto condition) {
        int low = from, high = end;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            condition(text->characterRect(middle)) ? high = middle : low = middle + 1;
        }
        return low;
    };
    const int first = firstWhere(start, [&](const QRect &at) { return at.bottom() >= view.top(); });
    const int last = firstWhere(first, [&](const QRect &at) { return at.top() > view.bottom(); });
    QRect shown;
    for (int offset = first; offset < std::min(last, first + charactersInView); ++offset)
        shown |= text->characterRect(offset);
    shown &= view;
    return shown.isEmpty() ? text->characterRect(start) : shown;
}

QVariant rectangle(const QRect &rect)
{
    QDBusArgument structure;
    structure.beginStructure();
    structure << rect.x() << rect.y() << rect.width() << rect.height();
    structure.endStructure();
    return QVariant::fromValue(structure);
}

QVariantList fourNumbers(const QRect &rect)
{
    return { rect.x(), rect.y(), rect.width(), rect.height() };
}

QVariant objectReference(const QString &busName, QAccessibleInterface *interface)
{
    QDBusArgument structure;
    structure.beginStructure();
    structure << busName << QDBusObjectPath(AtSpiPaths::pathOf(interface));
    structure.endStructure();
    return QVariant::fromValue(structure);
}

// The character at `offset` as the code point it stands for, a surrogate pair as one; nought
// past the end.
int codePointAt(QAccessibleTextInterface *text, int offset)
{
    const QString around = text->text(std::max(offset - 1, 0), offset + 2);
    const qsizetype at = offset > 0 ? 1 : 0;
    if (at >= around.size())
        return 0;
    const QChar character = around[at];
    if (character.isHighSurrogate() && at + 1 < around.size() && around[at + 1].isLowSurrogate())
        return int(QChar::surrogateToUcs4(character, around[at + 1]));
    if (character.isLowSurrogate() && at > 0 && around[at - 1].isHighSurrogate())
        return int(QChar::surrogateToUcs4(around[at - 1], character));
    return character.unicode();
}

QAccessibleInterface *deepestChildAt(QAccessibleInterface *interface, QPoint logical)
{
    QAccessibleInterface *found = nullptr;
    for (QAccessibleInterface *child = interface->childAt(logical.x(), logical.y()); child;
         child = child->childAt(logical.x(), logical.y()))
        found = child;
    return found;
}

} // namespace

bool AtSpiAnswers::answers(const AtSpiCall &call)
{
    static const QStringList text { QStringLiteral("GetCharacterAtOffset"),
        QStringLiteral("GetCharacterExtents"), QStringLiteral("GetRangeExtents"),
        QStringLiteral("GetOffsetAtPoint") };
    static const QStringList component { QStringLiteral("Contains"),
        QStringLiteral("GetAccessibleAtPoint"), QStringLiteral("GetExtents"),
        QStringLiteral("GetPosition"), QStringLiteral("GetSize") };
    return (call.interface == u"org.a11y.atspi.Text" && text.contains(call.member))
        || (call.interface == u"org.a11y.atspi.Component" && component.contains(call.member));
}

QVariantList AtSpiAnswers::answer(
    const AtSpiCall &call, QAccessibleInterface *target, const QString &busName)
{
    const auto number = [&](qsizetype i) { return call.arguments[i].toInt(); };
    QAccessibleTextInterface *text = target->textInterface();
    if (call.member == u"GetCharacterAtOffset")
        return { codePointAt(text, number(0)) };

    // Every other call but GetSize names its coordinate type last.
    const QPoint from
        = call.arguments.isEmpty() ? QPoint() : origin(target, call.arguments.constLast().toUInt());
    const auto placed = [&](const QRect &logical) {
        return logical.isValid() ? devicePixels(logical, target->window()).translated(-from)
                                 : nowhere;
    };
    const auto pointOnScreen
        = [&] { return logicalPixels(QPoint(number(0), number(1)) + from, target->window()); };

    if (call.member == u"GetCharacterExtents") {
        const int offset = number(0);
        return fourNumbers(
            placed(offset < text->characterCount() ? text->characterRect(offset) : QRect()));
    }
    if (call.member == u"GetRangeExtents") {
        const int count = text->characterCount();
        const int start = std::clamp(number(0), 0, count);
        const int end = number(1) < 0 || number(1) > count ? count : number(1);
        return fourNumbers(
            placed(start < end ? rangeInView(text, start, end, target->rect()) : QRect()));
    }
    if (call.member == u"GetOffsetAtPoint")
        return { text->offsetAtPoint(pointOnScreen()) };
    if (call.member == u"Contains")
        return { target->rect().contains(pointOnScreen()) };
    if (call.member == u"GetAccessibleAtPoint")
        return { objectReference(busName, deepestChildAt(target, pointOnScreen())) };
    const QRect extents = placed(target->rect());
    if (call.member == u"GetExtents")
        return { rectangle(extents) };
    if (call.member == u"GetPosition")
        return { extents.x(), extents.y() };
    return { extents.width(), extents.height() };
}

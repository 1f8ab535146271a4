#include "AtSpiAnswers.h"
#include "AtSpiCallCheck.h"
#include "ResultBox.h"
#include "Rows.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QLineEdit>
#include <QTest>

namespace {

// As Qt's bridge declares an object, a signal between the methods.
const AtSpiInterfaces declared = parseIntrospection(QStringLiteral(R"(
<interface name="org.a11y.atspi.Accessible">
  <property access="read" type="s" name="Name"/>
</interface>
<interface name="org.a11y.atspi.Text">
  <signal name="TextChanged"><arg type="s"/></signal>
  <method name="GetText"><arg direction="in" type="i"/><arg direction="in" type="i"/>
    <arg direction="out" type="s"/></method>
  <method name="GetTextAtOffset"><arg direction="in" type="i"/><arg direction="in" type="u"/></method>
  <method name="GetCharacterAtOffset"><arg direction="in" type="i"/></method>
  <method name="GetSelection"><arg direction="in" type="i"/></method>
  <method name="GetBoundedRanges"><arg direction="in" type="i"/></method>
  <property access="readwrite" type="i" name="CaretOffset"/>
</interface>
<interface name="org.a11y.atspi.Component">
  <method name="GetExtents"><arg direction="in" type="u"/></method>
</interface>
<interface name="org.a11y.atspi.Action">
  <method name="DoAction"><arg direction="in" type="i"/></method>
</interface>)"));

// Five characters, no selection, two actions.
const AtSpiLimits limits { 5, 0, 2 };

QString called(const char *name)
{
    return QString(name).startsWith("DBus.") ? QStringLiteral("org.freedesktop.") + name
                                             : QStringLiteral("org.a11y.atspi.") + name;
}

QVariantList answer(
    QWidget *widget, const char *interface, const char *member, const QVariantList &arguments)
{
    return AtSpiAnswers::answer({ called(interface), member, {}, arguments },
        QAccessible::queryAccessibleInterface(widget), ":1.1");
}

// A rectangle as a reader is told it, in the device pixels of the screen.
QVariantList told(QWidget *widget, const QRect &logical)
{
    const qreal ratio = widget->devicePixelRatioF();
    return { qRound(logical.x() * ratio), qRound(logical.y() * ratio),
        qRound(logical.width() * ratio), qRound(logical.height() * ratio) };
}

} // namespace

class AtSpiTest : public QObject
{
    Q_OBJECT

private slots:
    void refusal_data()
    {
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("error");
        const auto call
            = [](const char *tag, const char *interface, const char *member, const char *signature,
                  const QVariantList &arguments, const char *error) {
                  row(tag, called(interface), member, signature, arguments, error);
              };
        const QVariant v = QVariant::fromValue(QDBusVariant(1));
        const QString accessible = called("Accessible"), text = called("Text");
        call("text without its arguments", "Text", "GetText", "", {}, "InvalidArgs");
        call("arguments of other types", "Text", "GetText", "us", { 0u, "a" }, "InvalidArgs");
        call("the whole text", "Text", "GetText", "ii", { 0, -1 }, "");
        call("offset before the text", "Text", "GetTextAtOffset", "iu", { -1, 1u }, "InvalidArgs");
        call("offset at the end", "Text", "GetTextAtOffset", "iu", { 5, 1u }, "");
        call("offset past the end", "Text", "GetTextAtOffset", "iu", { 6, 1u }, "InvalidArgs");
        call("offset INT_MAX", "Text", "GetCharacterAtOffset", "i", { INT_MAX }, "InvalidArgs");
        call("last boundary type", "Text", "GetTextAtOffset", "iu", { 0, 6u }, "");
        call("boundary type past the last", "Text", "GetTextAtOffset", "iu", { 0, 7u },
            "InvalidArgs");
        call("parent coordinates", "Component", "GetExtents", "u", { 2u }, "");
        call(
            "coordinate type past the last", "Component", "GetExtents", "u", { 3u }, "InvalidArgs");
        call("last action", "Action", "DoAction", "i", { 1 }, "");
        call("action past the last", "Action", "DoAction", "i", { 2 }, "InvalidArgs");
        call("selection that is not there", "Text", "GetSelection", "i", { 0 }, "InvalidArgs");
        call("undeclared interface", "Value", "GetMinimumValue", "", {}, "UnknownInterface");
        call("undeclared method", "Text", "GetLength", "", {}, "UnknownMethod");
        call("bounded ranges", "Text", "GetBoundedRanges", "i", { 0 }, "NotSupported");
        call("all properties", "DBus.Properties", "GetAll", "s", { accessible }, "NotSupported");
        call("declared property", "DBus.Properties", "Get", "ss", { accessible, "Name" }, "");
        call("property never declared", "DBus.Properties", "Get", "ss", { text, "RangeExtents" },
            "UnknownProperty");
        call("property without its name", "DBus.Properties", "Get", "s", { text }, "InvalidArgs");
        call("property of another interface", "DBus.Properties", "Get", "ss",
            { accessible, "CaretOffset" }, "UnknownProperty");
        call("settable property", "DBus.Properties", "Set", "ssv", { text, "CaretOffset", v }, "");
        call("read-only property set", "DBus.Properties", "Set", "ssv", { accessible, "Name", v },
            "PropertyReadOnly");
        call("introspection", "DBus.Introspectable", "Introspect", "", {}, "");
    }
    void refusal()
    {
        QFETCH(QString, interface);
        QFETCH(QString, member);
        QFETCH(QString, signature);
        QFETCH(QVariantList, arguments);
        const auto refusal
            = refusalOf({ interface, member, signature, arguments }, declared, limits);
        QTEST(refusal ? refusal->error.section('.', -1) : QString(), "error");
    }

    // The character at an offset, as its code point.
    void character_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("codePoint");
        row("first", "Chybné zadání", 0, int(u'C'));
        row("letter outside ASCII", "Chybné zadání", 5, 0xE9);
        row("last", "Chybné zadání", 12, 0xED);
        row("end of the text", "Chybné zadání", 13, 0);
        row("first half of a pair", "a😀b", 1, 0x1F600);
        row("second half of a pair", "a😀b", 2, 0x1F600);
    }
    void character()
    {
        QFETCH(QString, text);
        QFETCH(int, offset);
        QFETCH(int, codePoint);
        QLineEdit edit(text);
        QCOMPARE(
            answer(&edit, "Text", "GetCharacterAtOffset", { offset }), QVariantList { codePoint });
    }

    // A box in a panel in a window, placed on the screen.
    void places_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<uint>("coordType");
        QTest::addColumn<QPoint>("origin");
        row("position on the screen", "GetPosition", 0u, QPoint(0, 0));
        row("position in the window", "GetPosition", 1u, QPoint(40, 30));
        row("position in the parent", "GetPosition", 2u, QPoint(50, 50));
        row("size", "GetSize", 0u, QPoint());
        row("character in the window", "GetCharacterExtents", 1u, QPoint(40, 30));
    }
    void places()
    {
        QFETCH(QString, member);
        QFETCH(uint, coordType);
        QFETCH(QPoint, origin);
        QWidget window;
        window.setGeometry(40, 30, 300, 200);
        QWidget panel(&window);
        panel.setGeometry(10, 20, 200, 150);
        QLineEdit box("Chybné zadání", &panel);
        box.setGeometry(5, 7, 100, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto *text = QAccessible::queryAccessibleInterface(&box)->textInterface();
        const QRect shown = member == "GetCharacterExtents"
            ? text->characterRect(1)
            : QRect(box.mapToGlobal(QPoint()), box.size());
        const QVariantList wanted = told(&box, shown.translated(-origin));
        const QVariantList reply = answer(&box,
            member == "GetCharacterExtents" ? "Text" : "Component", qPrintable(member),
            member == "GetSize"           ? QVariantList()
                : member == "GetPosition" ? QVariantList { coordType }
                                          : QVariantList { 1, coordType });
        QCOMPARE(reply,
            member == "GetPosition"   ? wanted.mid(0, 2)
                : member == "GetSize" ? wanted.mid(2)
                                      : wanted);
    }

    // A result of a thousand rows in a box that shows about twenty: only what it shows counts.
    void range_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        row("to INT_MAX", 0, INT_MAX, 0, 6000);
        row("to the end", 0, -1, 0, 6000);
        row("from before the text", -5, 3, 0, 3);
        row("empty", 3, 3, 3, 3);
        row("below the view", 5000, 5003, 5000, 5003);
    }
    void range()
    {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, from);
        QFETCH(int, to);
        ResultBox box;
        box.resize(313, 369);
        box.setText(QString("142857").repeated(1000));
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        // Every character measured, where the door measures only those in view.
        const QRect view(box.mapToGlobal(QPoint()), box.size());
        const auto *text = QAccessible::queryAccessibleInterface(&box)->textInterface();
        QRect shown;
        for (int offset = from; offset < to; ++offset)
            if (text->characterRect(offset).intersects(view))
                shown |= text->characterRect(offset);
        shown &= view;
        const QVariantList wanted = from == to
            ? QVariantList { -1, -1, 0, 0 }
            : told(&box, shown.isEmpty() ? text->characterRect(from) : shown);
        QCOMPARE(answer(&box, "Text", "GetRangeExtents", { start, end, 0u }), wanted);
    }
};

QTEST_MAIN(AtSpiTest)
#include "AtSpiTest.moc"

#include "AtSpiAnswers.h"
#include "AtSpiCallCheck.h"
#include "ResultBox.h"

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
    return QString(name).contains('.') ? name : QStringLiteral("org.a11y.atspi.") + name;
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
        const auto row = [](const char *tag, const char *interface, const char *member,
                             const char *signature, const QVariantList &arguments,
                             const char *error) {
            QTest::newRow(tag) << called(interface) << member << signature << arguments << error;
        };
        const QVariant v = QVariant::fromValue(QDBusVariant(1));
        row("text without its arguments", "Text", "GetText", "", {}, "InvalidArgs");
        row("arguments of other types", "Text", "GetText", "us", { 0u, "a" }, "InvalidArgs");
        row("the whole text", "Text", "GetText", "ii", { 0, -1 }, "");
        row("offset before the text", "Text", "GetTextAtOffset", "iu", { -1, 1u }, "InvalidArgs");
        row("offset at the end", "Text", "GetTextAtOffset", "iu", { 5, 1u }, "");
        row("offset past the end", "Text", "GetTextAtOffset", "iu", { 6, 1u }, "InvalidArgs");
        row("offset INT_MAX", "Text", "GetCharacterAtOffset", "i", { INT_MAX }, "InvalidArgs");
        row("last boundary type", "Text", "GetTextAtOffset", "iu", { 0, 6u }, "");
        row("boundary type past the last", "Text", "GetTextAtOffset", "iu", { 0, 7u },
            "InvalidArgs");
        row("parent coordinates", "Component", "GetExtents", "u", { 2u }, "");
        row("coordinate type past the last", "Component", "GetExtents", "u", { 3u }, "InvalidArgs");
        row("last action", "Action", "DoAction", "i", { 1 }, "");
        row("action past the last", "Action", "DoAction", "i", { 2 }, "InvalidArgs");
        row("selection that is not there", "Text", "GetSelection", "i", { 0 }, "InvalidArgs");
        row("undeclared interface", "Value", "GetMinimumValue", "", {}, "UnknownInterface");
        row("undeclared method", "Text", "GetLength", "", {}, "UnknownMethod");
        row("bounded ranges", "Text", "GetBoundedRanges", "i", { 0 }, "NotSupported");
        row("all properties", "org.freedesktop.DBus.Properties", "GetAll", "s",
            { "org.a11y.atspi.Accessible" }, "NotSupported");
        row("declared property", "org.freedesktop.DBus.Properties", "Get", "ss",
            { "org.a11y.atspi.Accessible", "Name" }, "");
        row("property never declared", "org.freedesktop.DBus.Properties", "Get", "ss",
            { "org.a11y.atspi.Text", "RangeExtents" }, "UnknownProperty");
        row("property without its name", "org.freedesktop.DBus.Properties", "Get", "s",
            { "org.a11y.atspi.Text" }, "InvalidArgs");
        row("property of another interface", "org.freedesktop.DBus.Properties", "Get", "ss",
            { "org.a11y.atspi.Accessible", "CaretOffset" }, "UnknownProperty");
        row("settable property", "org.freedesktop.DBus.Properties", "Set", "ssv",
            { "org.a11y.atspi.Text", "CaretOffset", v }, "");
        row("read-only property set", "org.freedesktop.DBus.Properties", "Set", "ssv",
            { "org.a11y.atspi.Accessible", "Name", v }, "PropertyReadOnly");
        row("introspection", "org.freedesktop.DBus.Introspectable", "Introspect", "", {}, "");
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
        QTest::newRow("first") << "Chybné zadání" << 0 << int(u'C');
        QTest::newRow("letter outside ASCII") << "Chybné zadání" << 5 << 0xE9;
        QTest::newRow("last") << "Chybné zadání" << 12 << 0xED;
        QTest::newRow("end of the text") << "Chybné zadání" << 13 << 0;
        QTest::newRow("first half of a pair") << "a😀b" << 1 << 0x1F600;
        QTest::newRow("second half of a pair") << "a😀b" << 2 << 0x1F600;
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
        QTest::newRow("position on the screen") << "GetPosition" << 0u << QPoint(0, 0);
        QTest::newRow("position in the window") << "GetPosition" << 1u << QPoint(40, 30);
        QTest::newRow("position in the parent") << "GetPosition" << 2u << QPoint(50, 50);
        QTest::newRow("size") << "GetSize" << 0u << QPoint();
        QTest::newRow("character in the window") << "GetCharacterExtents" << 1u << QPoint(40, 30);
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
        QTest::newRow("to INT_MAX") << 0 << INT_MAX << 0 << 6000;
        QTest::newRow("to the end") << 0 << -1 << 0 << 6000;
        QTest::newRow("from before the text") << -5 << 3 << 0 << 3;
        QTest::newRow("empty") << 3 << 3 << 3 << 3;
        QTest::newRow("below the view") << 5000 << 5003 << 5000 << 5003;
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

int runAtSpiTest(int argc, char *argv[])
{
    return QTest::qExec(std::make_unique<AtSpiTest>().get(), argc, argv);
}
#include "AtSpiTest.moc"

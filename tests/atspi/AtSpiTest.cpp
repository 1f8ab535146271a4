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
<interface name="org.a11y.atspi.Text">
  <signal name="TextChanged"><arg type="s"/></signal>
  <method name="GetText"><arg direction="in" type="i"/><arg direction="in" type="i"/>
    <arg direction="out" type="s"/></method>
  <method name="GetTextAtOffset"><arg direction="in" type="i"/><arg direction="in" type="u"/></method>
  <method name="GetCharacterExtents"><arg direction="in" type="i"/><arg direction="in" type="u"/></method>
  <method name="GetSelection"><arg direction="in" type="i"/></method>
  <method name="GetBoundedRanges"><arg direction="in" type="i"/></method>
  <property access="read" type="i" name="CharacterCount"/>
  <property access="readwrite" type="i" name="CaretOffset"/>
</interface>
<interface name="org.a11y.atspi.Value">
  <method name="GetMinimumValue"/>
  <method name="SetCurrentValue"><arg direction="in" type="d"/></method>
</interface>
<interface name="org.a11y.atspi.Action">
  <method name="DoAction"><arg direction="in" type="i"/></method>
</interface>)"));

// Five characters, no selection, two actions.
const AtSpiLimits limits { 5, 0, 2 };

QVariantList answer(QWidget *widget, const char *member, const QVariantList &arguments)
{
    return AtSpiAnswers::answer({ "org.a11y.atspi.Text", member, {}, arguments },
        QAccessible::queryAccessibleInterface(widget), ":1.1");
}

// "a", then the first half of a pair whose second half lies just past the end of the text.
const QChar halfAPair[] = { u'a', QChar(0xD83D), QChar(0xDE00) };

} // namespace

class AtSpiTest : public QObject
{
    Q_OBJECT

private slots:
    // Calls named as "interface.method", the interface without its "org.a11y.atspi." or
    // "org.freedesktop." before it.
    void refusal_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("error");
        const auto call = [](const char *tag, const char *method, const char *signature,
                              const QVariantList &arguments,
                              const char *error) { row(tag, method, signature, arguments, error); };
        const QVariant v = QVariant::fromValue(QDBusVariant(1));
        const QString text = "org.a11y.atspi.Text", action = "org.a11y.atspi.Action";
        call("arguments of other types", "Text.GetText", "us", { 0u, "a" }, "InvalidArgs");
        call("the whole text", "Text.GetText", "ii", { 0, -1 }, "");
        call("offset at the end", "Text.GetTextAtOffset", "iu", { 5, 1u }, "");
        call("offset past the end", "Text.GetTextAtOffset", "iu", { 6, 1u }, "InvalidArgs");
        call("offset INT_MAX", "Text.GetTextAtOffset", "iu", { INT_MAX, 1u }, "InvalidArgs");
        call("last boundary type", "Text.GetTextAtOffset", "iu", { 0, 6u }, "");
        call("boundary type past the last", "Text.GetTextAtOffset", "iu", { 0, 7u }, "InvalidArgs");
        call("coordinate type past the last", "Text.GetCharacterExtents", "iu", { 0, 3u },
            "InvalidArgs");
        call("action past the last", "Action.DoAction", "i", { 2 }, "InvalidArgs");
        call("selection that is not there", "Text.GetSelection", "i", { 0 }, "InvalidArgs");
        call("undeclared interface", "Image.GetImageSize", "", {}, "UnknownInterface");
        call("undeclared method", "Text.GetLength", "", {}, "UnknownMethod");
        call("bounded ranges", "Text.GetBoundedRanges", "i", { 0 }, "NotSupported");
        call("a value set directly", "Value.SetCurrentValue", "d", { 1.0 }, "NotSupported");
        call("another call of a value", "Value.GetMinimumValue", "", {}, "");
        call("declared property", "DBus.Properties.Get", "ss", { text, "CaretOffset" }, "");
        call("property without its name", "DBus.Properties.Get", "s", { text }, "InvalidArgs");
        call("property of another interface", "DBus.Properties.Get", "ss",
            { action, "CaretOffset" }, "UnknownProperty");
        call("settable property", "DBus.Properties.Set", "ssv", { text, "CaretOffset", v }, "");
        call("read-only property set", "DBus.Properties.Set", "ssv", { text, "CharacterCount", v },
            "PropertyReadOnly");
        call("introspection", "DBus.Introspectable.Introspect", "", {}, "");
    }
    void refusal()
    {
        QFETCH(QString, method);
        QFETCH(QString, signature);
        QFETCH(QVariantList, arguments);
        const QString prefix = method.startsWith("DBus.") ? "org.freedesktop." : "org.a11y.atspi.";
        const AtSpiCall call { prefix + method.section('.', 0, -2), method.section('.', -1),
            signature, arguments };
        const auto refusal = refusalOf(call, declared, limits);
        QTEST(refusal ? refusal->error.section('.', -1) : QString(), "error");
    }

    // The character at an offset, as its code point.
    void character_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("codePoint");
        row("first", "a😀b", 0, int(u'a'));
        row("first half of a pair", "a😀b", 1, 0x1F600);
        row("second half of a pair", "a😀b", 2, 0x1F600);
        row("last", "a😀b", 3, int(u'b'));
        row("end of the text", "a😀b", 4, 0);
        row("first half of a pair at the end", QString::fromRawData(halfAPair, 2), 1, 0xD83D);
    }
    void character()
    {
        QFETCH(QString, text);
        QFETCH(int, offset);
        QLineEdit edit(text);
        QTEST(answer(&edit, "GetCharacterAtOffset", { offset }).value(0).toInt(), "codePoint");
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
        const QRect wanted = shown.isEmpty() ? text->characterRect(from) : shown;
        // A reader is told it in the device pixels of the screen.
        const qreal ratio = box.devicePixelRatioF();
        QCOMPARE(answer(&box, "GetRangeExtents", { start, end, 0u }),
            QVariantList({ qRound(wanted.x() * ratio), qRound(wanted.y() * ratio),
                qRound(wanted.width() * ratio), qRound(wanted.height() * ratio) }));
    }
};

QTEST_MAIN(AtSpiTest)
#include "AtSpiTest.moc"

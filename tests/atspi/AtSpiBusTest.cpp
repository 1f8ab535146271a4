#include "Rows.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QProcess>
#include <QTest>

namespace {

const QString text = "org.a11y.atspi.Text", properties = "org.freedesktop.DBus.Properties";

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The numbers of a reply, also inside a structure.
QList<int> numbers(const QDBusMessage &reply)
{
    QList<int> found;
    for (const QVariant &argument : reply.arguments()) {
        if (!argument.canConvert<QDBusArgument>()) {
            found << argument.toInt();
            continue;
        }
        const QDBusArgument structure = argument.value<QDBusArgument>();
        for (structure.beginStructure(); !structure.atEnd();)
            structure >> found.emplaceBack();
    }
    return found;
}

} // namespace

// The real program on a real accessibility bus, driven by keys and clicks through the X server
// and called as any program on the bus may call it. Its screen is scaled twice, so the device
// pixels a reader is told are not the program's logical ones.
class AtSpiBusTest : public QObject
{
    Q_OBJECT

    QProcess m_program;
    QDBusConnection m_bus { QString() };
    QString m_name, m_box;

    QDBusMessage call(const QString &path, const QString &interface, const QString &member,
        const QVariantList &arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(m_name, path, interface, member);
        message.setArguments(arguments);
        return m_bus.call(message, QDBus::Block, 5000);
    }
    QVariant property(const QString &path, const QString &interface, const QString &name)
    {
        const QDBusMessage reply = call(path, properties, "Get", { interface, name });
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    int characters() { return property(m_box, text, "CharacterCount").toInt(); }
    // The first object at or below `path` with this name.
    QString find(const QString &path, const QString &name)
    {
        if (property(path, "org.a11y.atspi.Accessible", "Name") == name)
            return path;
        const QVariant children
            = call(path, "org.a11y.atspi.Accessible", "GetChildren").arguments().value(0);
        if (!children.canConvert<QDBusArgument>())
            return {};
        const QDBusArgument list = children.value<QDBusArgument>();
        QStringList paths;
        for (list.beginArray(); !list.atEnd();) {
            QString service;
            QDBusObjectPath child;
            list.beginStructure();
            list >> service >> child;
            list.endStructure();
            paths << child.path();
        }
        for (const QString &child : paths)
            if (const QString found = find(child, name); !found.isEmpty())
                return found;
        return {};
    }
    // Start is the main window's default button.
    void divide(const QString &divisor)
    {
        const QString root = "/org/a11y/atspi/accessible/root";
        const QString editable = "org.a11y.atspi.EditableText";
        call(find(root, "dělenec"), editable, "SetTextContents", { "1" });
        call(find(root, "dělitel"), editable, "SetTextContents", { divisor });
        run("xdotool", { "key", "Return" });
    }
    int windows()
    {
        return run("xdotool", { "search", "--onlyvisible", "--name", "^Zlomkar$" }).count('\n');
    }

private slots:
    // The program, once on the bus, shows 1 / 0, "Chybné zadání => dělení nulou", and a warning.
    void initTestCase()
    {
        const QDBusReply<QString> address
            = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
                "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
        m_bus = QDBusConnection::connectToBus(address.value(), "reader");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        environment.insert("QT_SCALE_FACTOR", "2");
        m_program.setProcessEnvironment(environment);
        m_program.start(qEnvironmentVariable("ZLOMKAR_PROGRAM"), { "-platform", "xcb" });
        const auto onTheBus = [&] {
            for (const QString &name : m_bus.interface()->registeredServiceNames().value())
                if (m_bus.interface()->servicePid(name).value() == uint(m_program.processId()))
                    m_name = name;
            return !(m_box = find("/org/a11y/atspi/accessible/root", "výsledek")).isEmpty();
        };
        QTRY_VERIFY_WITH_TIMEOUT(onTheBus(), 20000);
        divide("0");
        QTRY_COMPARE_WITH_TIMEOUT(windows(), 2, 20000);
        run("xdotool", { "key", "Return" });
        QTRY_COMPARE_WITH_TIMEOUT(windows(), 1, 20000);
    }
    void cleanupTestCase()
    {
        m_program.kill();
        m_program.waitForFinished();
    }

    // Calls that Qt's own bridge took as they came, and ended the program; it answers after them.
    void malformed_data()
    {
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("error");
        row("all properties, as gdbus introspect asks", properties, "GetAll", QVariantList { text },
            "NotSupported");
        row("text without its arguments", text, "GetText", QVariantList {}, "InvalidArgs");
        row("a word before the text", text, "GetTextAtOffset", QVariantList { -1, 1u },
            "InvalidArgs");
    }
    void malformed()
    {
        QFETCH(QString, interface);
        QFETCH(QString, member);
        QFETCH(QVariantList, arguments);
        QTEST(call(m_box, interface, member, arguments).errorName().section('.', -1), "error");
        QCOMPARE(call(m_box, text, "GetText", { 0, 2 }).arguments(), QVariantList { "Ch" });
    }

    void characterOutsideAscii()
    {
        QCOMPARE(numbers(call(m_box, text, "GetCharacterAtOffset", { 5 })), QList({ 0xE9 }));
    }

    // The window where the X server has it, and a click where a reader is told a character stands
    // puts the caret before it.
    void devicePixels()
    {
        const QString window = run("xdotool", { "search", "--onlyvisible", "--name", "^Zlomkar$" });
        const QString geometry = run("xwininfo", { "-id", window.trimmed() });
        QList<int> onScreen;
        for (const char *field :
            { "Absolute upper-left X:", "Absolute upper-left Y:", "Width:", "Height:" })
            onScreen << geometry.section(field, 1).section('\n', 0, 0).toInt();
        const QString frame = find("/org/a11y/atspi/accessible/root", "Zlomkar");
        QCOMPARE(numbers(call(frame, "org.a11y.atspi.Component", "GetExtents", { 0u })), onScreen);
        const QList<int> character = numbers(call(m_box, text, "GetCharacterExtents", { 2, 0u }));
        const int x = character.value(0) + character.value(2) / 4,
                  y = character.value(1) + character.value(3) / 2;
        run("xdotool", { "mousemove", QString::number(x), QString::number(y), "click", "1" });
        QTRY_COMPARE(property(m_box, text, "CaretOffset").toInt(), 2);
        QCOMPARE(numbers(call(m_box, text, "GetOffsetAtPoint", { x, y, 0u })), QList({ 2 }));
    }

    // 1 / 7 to the limit of digits, a hundred million of them: answered within the call's 5 s.
    void ranges_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("arguments");
        row("all of it to INT_MAX", "GetRangeExtents", QVariantList { 0, INT_MAX, 0u });
        row("all of it to its end", "GetRangeExtents", QVariantList { 0, -1, 0u });
        row("a word half-way", "GetTextAtOffset", QVariantList { 50'000'000, 1u });
    }
    void ranges()
    {
        QFETCH(QString, member);
        QFETCH(QVariantList, arguments);
        if (characters() < 100'000'002)
            divide("7");
        QTRY_COMPARE_WITH_TIMEOUT(characters(), 100'000'002, 60000);
        QCOMPARE(call(m_box, text, member, arguments).type(), QDBusMessage::ReplyMessage);
    }
};

int runAtSpiBusTest(int argc, char *argv[])
{
    return QTest::qExec(std::make_unique<AtSpiBusTest>().get(), argc, argv);
}

#include "AtSpiBusTest.moc"

#include "AtSpiDoor.h"

#include "AtSpiAnswers.h"
#include "AtSpiCallCheck.h"
#include "AtSpiPaths.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QTimer>
#include <private/qaccessiblebridgeutils_p.h>

namespace {

// Qt 6.4's bridge connects to the accessibility bus under this name and serves every accessible
// object below AtSpiPaths::accessible from one object of this class.
const QString bridgeConnection = QStringLiteral("a11y");
constexpr char bridgeClass[] = "AtSpiAdaptor";

// The introspection texts kept read; more than this many mean the texts are not what they were.
constexpr qsizetype parsedKept = 64;

void takeBridgePlace()
{
    QDBusConnection bus(bridgeConnection);
    auto *bridge
        = qobject_cast<QDBusVirtualObject *>(bus.objectRegisteredAt(AtSpiPaths::accessible));
    if (!bus.isConnected() || !bridge || qstrcmp(bridge->metaObject()->className(), bridgeClass))
        return;
    auto *door = new AtSpiDoor(bridge);
    bus.unregisterObject(AtSpiPaths::accessible, QDBusConnection::UnregisterTree);
    if (bus.registerVirtualObject(AtSpiPaths::accessible, door, QDBusConnection::SubPath))
        return;
    delete door;
    bus.registerVirtualObject(AtSpiPaths::accessible, bridge, QDBusConnection::SubPath);
}

// The bridge opens its door after it has told the program that assistive technology is on.
class Watcher : public QAccessible::ActivationObserver
{
public:
    void accessibilityActiveChanged(bool active) override
    {
        if (active)
            QTimer::singleShot(0, qApp, takeBridgePlace);
    }
};

AtSpiLimits limitsOf(QAccessibleInterface *target)
{
    AtSpiLimits limits;
    if (QAccessibleTextInterface *text = target->textInterface()) {
        limits.characters = text->characterCount();
        limits.selections = text->selectionCount();
    }
    if (QAccessibleTableInterface *table = target->tableInterface()) {
        limits.rows = table->rowCount();
        limits.columns = table->columnCount();
    }
    limits.actions = int(QAccessibleBridgeUtils::effectiveActionNames(target).size());
    limits.children = target->childCount();
    return limits;
}

} // namespace

AtSpiDoor::AtSpiDoor(QDBusVirtualObject *bridge)
    : QDBusVirtualObject(bridge)
    , m_bridge(bridge)
{ }

void AtSpiDoor::standInFrontOfQtBridge()
{
    static Watcher watcher;
    QAccessible::installActivationObserver(&watcher);
    QTimer::singleShot(0, qApp, takeBridgePlace);
}

QString AtSpiDoor::introspect(const QString &path) const
{
    return m_bridge ? m_bridge->introspect(path) : QString();
}

bool AtSpiDoor::handleMessage(const QDBusMessage &message, const QDBusConnection &connection)
{
    QAccessibleInterface *target = AtSpiPaths::interfaceAt(message.path());
    if (!m_bridge || !target || !target->isValid())
        return m_bridge && m_bridge->handleMessage(message, connection);
    const AtSpiCall call { message.interface(), message.member(), message.signature(),
        message.arguments() };
    if (const auto refusal = refusalOf(call, interfacesAt(message.path()), limitsOf(target)))
        connection.send(message.createErrorReply(refusal->error, refusal->text));
    else if (AtSpiAnswers::answers(call))
        connection.send(
            message.createReply(AtSpiAnswers::answer(call, target, connection.baseService())));
    else
        return m_bridge->handleMessage(message, connection);
    return true;
}

// The introspection of an object depends only on the interfaces it has, so a few texts serve all.
const AtSpiInterfaces &AtSpiDoor::interfacesAt(const QString &path) const
{
    const QString introspection = introspect(path);
    auto parsed = m_parsed.find(introspection);
    if (parsed == m_parsed.end()) {
        if (m_parsed.size() >= parsedKept)
            m_parsed.clear();
        parsed = m_parsed.insert(introspection, parseIntrospection(introspection));
    }
    return *parsed;
}

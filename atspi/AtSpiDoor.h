#pragma once

#include "AtSpiInterfaces.h"

#include <QDBusVirtualObject>
#include <QPointer>

// Stands in front of Qt 6.4's bridge to the accessibility bus, where any program may call the
// program's objects: the bridge takes a call with arguments other than its interface declares, or
// an offset or index outside the object, as it comes, and ends the program or never returns. The
// door refuses such calls with a D-Bus error, answers the few calls the bridge gets wrong itself
// (AtSpiAnswers) and hands every other message to the bridge, which keeps sending its events.
class AtSpiDoor : public QDBusVirtualObject
{
    Q_OBJECT

public:
    // From now on, takes the bridge's place on the bus whenever assistive technology is turned
    // on. Where the bridge is not the one of the Qt this program knows, it is left alone.
    static void standInFrontOfQtBridge();

    explicit AtSpiDoor(QDBusVirtualObject *bridge);

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    const AtSpiInterfaces &interfacesAt(const QString &path) const;

    QPointer<QDBusVirtualObject> m_bridge;
    mutable QHash<QString, AtSpiInterfaces> m_parsed;
};

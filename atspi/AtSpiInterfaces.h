#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

// The interfaces an object on the accessibility bus offers, as its introspection declares them:
// each method with the signature of its arguments, each property with whether it can be set.
struct AtSpiInterface
{
    QHash<QString, QString> methods;
    QHash<QString, bool> properties;
};

using AtSpiInterfaces = QHash<QString, AtSpiInterface>;

// Reads the introspection data of a D-Bus object; what is not well-formed ends the reading there.
AtSpiInterfaces parseIntrospection(const QString &xml);

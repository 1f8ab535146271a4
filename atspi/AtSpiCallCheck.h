#pragma once

#include "AtSpiInterfaces.h"

#include <QVariantList>
#include <optional>

// A call that another program sent to an object of ours on the accessibility bus.
struct AtSpiCall
{
    QString interface;
    QString member;
    QString signature;
    QVariantList arguments;
};

// What the called object holds, so that an index or an offset can be checked before it is used.
struct AtSpiLimits
{
    int characters = 0;
    int selections = 0;
    int actions = 0;
    int children = 0;
    int rows = 0;
    int columns = 0;
};

// The D-Bus error a call is answered with instead of being carried out.
struct AtSpiRefusal
{
    QString error;
    QString text;

    friend bool operator==(const AtSpiRefusal &, const AtSpiRefusal &) = default;
};

// Why `call` must not reach the object that `interfaces` describes: an interface, method or
// property it does not declare, arguments that differ from the declared signature, or an offset,
// index, boundary or coordinate type outside what the object holds. Nothing for a sound call.
std::optional<AtSpiRefusal> refusalOf(
    const AtSpiCall &call, const AtSpiInterfaces &interfaces, const AtSpiLimits &limits);

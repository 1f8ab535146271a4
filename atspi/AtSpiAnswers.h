#pragma once

#include "AtSpiCallCheck.h"

class QAccessibleInterface;

// The calls that the program answers itself rather than Qt 6.4's bridge: the character at an
// offset, as the whole code point where the bridge gives a byte of its UTF-8 form; the extents of a
// range of text, over the rows in view where the bridge asks for every character of the range; and
// every place and size, in the screen's device pixels where the bridge gives the logical pixels of
// a scaled screen, relative to the window or the parent where asked.
namespace AtSpiAnswers {

bool answers(const AtSpiCall &call);

// The reply's arguments to `call`, which refusalOf() let through, made to `target`; `busName` is
// the program's name on the bus, which an object reference carries.
QVariantList answer(const AtSpiCall &call, QAccessibleInterface *target, const QString &busName);

} // namespace AtSpiAnswers

#pragma once

#include "MessageCatalogue.h"
#include "WideText.h"

// A catalogue message as the windows use it.
inline QString message(int number)
{
    return fromWide(MessageCatalogue::text(number));
}

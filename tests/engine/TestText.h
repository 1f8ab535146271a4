#pragma once

#include <string>
#include <string_view>

// Expected texts are written with "." where the locale's decimal separator goes (a literal comma,
// such as the one after a quotient's integer part, stays a comma); this puts the separator in.
inline std::u16string localised(std::u16string_view text, std::u16string_view separator)
{
    std::u16string out;
    for (char16_t c : text) {
        if (c == u'.')
            out += separator;
        else
            out += c;
    }
    return out;
}

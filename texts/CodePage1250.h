#pragma once

#include <string>
#include <string_view>

// Windows-1250, the 8-bit code page of the Czech system setting: the encoding of saved results
// and of the update notice.
namespace CodePage1250 {

// One byte per character; a character the code page lacks becomes "?".
std::string encode(std::u16string_view text);

// One character per byte; the five bytes the code page leaves undefined become U+FFFD.
std::u16string decode(std::string_view bytes);

} // namespace CodePage1250

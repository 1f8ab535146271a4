#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ProfileString {

// The value of `key` in `section` of the INI-style text `file`, as the platform's profile reader
// puts it into a buffer of `capacity` bytes: at most `capacity - 1` bytes, the room beside the
// terminating NUL. A missing section or key gives `defaultValue`, cut the same way.
//
// Section and key names match without regard to ASCII case, blanks around names and values do
// not count, the first matching key wins, lines without "=" are skipped, lines end at LF, CR LF or
// a lone CR, a NUL byte ends a value, and one pair of quotation marks around a value is dropped.
std::string read(std::string_view file, std::string_view section, std::string_view key,
    std::string_view defaultValue, std::size_t capacity);

} // namespace ProfileString

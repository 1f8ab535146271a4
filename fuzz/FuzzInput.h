#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How the fuzz targets cut their input bytes into pieces that are easy to write by hand.
namespace FuzzInput {

inline std::string_view bytes(const std::uint8_t *data, std::size_t size)
{
    return { reinterpret_cast<const char *>(data), size };
}

// Exactly `count` fields: the bytes up to each `separator`, the last field holding all the rest
// (separators included); fields the input lacks are empty.
inline std::vector<std::string_view> fields(
    std::string_view bytes, char separator, std::size_t count)
{
    std::vector<std::string_view> result;
    while (result.size() + 1 < count) {
        const auto end = bytes.find(separator);
        if (end == std::string_view::npos)
            break;
        result.push_back(bytes.substr(0, end));
        bytes.remove_prefix(end + 1);
    }
    result.push_back(bytes);
    result.resize(count);
    return result;
}

// UTF-8 where the bytes are valid UTF-8, and any other byte as the character of the same code, so
// every byte string is some text and seeds such as "∞" or "1 000" can be typed.
inline std::u16string text(std::string_view bytes)
{
    std::u16string result;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80 ? 1
            : (lead >> 5) == 0x6               ? 2
            : (lead >> 4) == 0xE               ? 3
            : (lead >> 3) == 0x1E              ? 4
                                               : 0;
        char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
        bool valid = length > 0 && i + length <= bytes.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid || c > 0x10FFFF) {
            result += char16_t(lead);
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            result += char16_t(0xD800 + (c >> 10));
            result += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            result += char16_t(c);
        }
        i += length;
    }
    return result;
}

} // namespace FuzzInput

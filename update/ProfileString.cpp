#include "ProfileString.h"

#include <algorithm>

namespace {

constexpr std::string_view blanks = " \t";

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

// Moves `position` past the line's end.
std::string_view nextLine(std::string_view text, std::size_t &position)
{
    const auto end = std::min(text.find_first_of("\r\n", position), text.size());
    const auto line = text.substr(position, end - position);
    position = end;
    if (position < text.size() && text[position] == '\r')
        ++position;
    if (position < text.size() && text[position] == '\n')
        ++position;
    return line;
}

std::string_view sectionName(std::string_view header)
{
    const auto name = header.substr(1);
    return trimmed(name.substr(0, name.find(']')));
}

std::string_view valueOf(std::string_view afterEquals)
{
    // The reader hands the value on as a C string, so nothing after a NUL reaches the program.
    auto value = trimmed(afterEquals.substr(0, afterEquals.find('\0')));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

} // namespace

std::string ProfileString::read(std::string_view file, std::string_view section,
    std::string_view key, std::string_view defaultValue, std::size_t capacity)
{
    if (capacity == 0)
        return {};
    std::string_view value = defaultValue;
    bool inSection = false;
    for (std::size_t position = 0; position < file.size();) {
        const auto line = trimmed(nextLine(file, position));
        if (line.starts_with('[')) {
            inSection = sameName(sectionName(line), section);
            continue;
        }
        const auto equals = line.find('=');
        if (inSection && equals != std::string_view::npos
            && sameName(trimmed(line.substr(0, equals)), key)) {
            value = valueOf(line.substr(equals + 1));
            break;
        }
    }
    return std::string(value.substr(0, capacity - 1));
}

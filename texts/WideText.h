#pragma once

#include <QString>
#include <QStringView>
#include <string_view>

// The engine speaks std::u16string, Qt speaks QString; both are UTF-16, so these only rewrap.
inline std::u16string_view wideView(QStringView text)
{
    return { text.utf16(), static_cast<std::size_t>(text.size()) };
}

inline QString fromWide(std::u16string_view text)
{
    return QStringView(text).toString();
}

#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace lumvrex {

// The core speaks UTF-8; Qt speaks QString.
inline QString qString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string utf8(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace lumvrex

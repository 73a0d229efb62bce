#pragma once

#include <QString>
#include <string>
#include <string_view>

// The core keeps text as UTF-8 in std::string; the window shows QString.
namespace ui {

inline QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string S(const QString& text)
{
    return text.toStdString();
}

} // namespace ui

#pragma once
#include <QString>
#include <filesystem>

namespace kadrel::ui {

// Qt's text and the file system's path, without going through the local 8-bit code page.
inline std::filesystem::path ToPath(const QString& text) { return std::filesystem::path(text.toStdU16String()); }
inline QString ToText(const std::filesystem::path& path) { return QString::fromStdU16String(path.u16string()); }

}  // namespace kadrel::ui

#pragma once
#include <QString>
#include <string>

namespace kadrel::ui {

// Writes text to a file as it is, replacing the file only once the whole text is written.
// Returns an empty string on success, otherwise a message naming the file and the problem.
QString WriteReportFile(const QString& path, const std::string& text);

}  // namespace kadrel::ui

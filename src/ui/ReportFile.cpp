#include "ui/ReportFile.h"

#include <QDir>
#include <QSaveFile>

namespace kadrel::ui {

QString WriteReportFile(const QString& path, const std::string& text) {
    QSaveFile file(path);
    const auto problem = [&] {
        return QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    };
    if (!file.open(QIODevice::WriteOnly)) return problem();
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        file.cancelWriting();
        return problem();
    }
    if (!file.commit()) return problem();
    return {};
}

}  // namespace kadrel::ui

#include "SplitterWindow.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include "SplitRun.h"

namespace lutrane {
namespace {

// The form is laid out in twips; 15 twips make a pixel.
constexpr int Px(int twips) { return twips / 15; }

// Messages hold file names: bytes in the local encoding.
QString FromText(const std::string& text) { return QString::fromLocal8Bit(QByteArray::fromStdString(text)); }

}  // namespace

SplitterWindow::SplitterWindow(std::unique_ptr<OpenFileDialog> dialog, QWidget* parent)
    : QWidget(parent),
      Command1(new QPushButton(QStringLiteral("Split"), this)),
      Label1(new QLabel(this)),
      CommonDialog1(std::move(dialog)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Lutrane"));
    resize(Px(3840), Px(2055));

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(Px(1200), Px(1080), Px(1335), Px(615));
    connect(Command1, &QPushButton::clicked, this, &SplitterWindow::Command1_Click);

    // Above the button, where the form kept its hidden text buffer.
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 4, Px(3840) - 16, Px(1080) - 8);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void SplitterWindow::Command1_Click() {
    const std::optional<QString> chosen =
        CommonDialog1->ChooseFile(this, QStringLiteral("Open File"), QStringLiteral("*.fas;;All files (*)"));
    if (!chosen) return;

    const std::filesystem::path input = QFile::encodeName(*chosen).toStdString();
    const SplitResult result = SplitFiles({input}, input.parent_path());

    // A label has room for a few notes; a file of thousands of renamed records gets their count.
    constexpr std::size_t kNotesShown = 8;
    QStringList lines;
    if (result.error.empty()) {
        for (std::size_t n = 0; n < result.notes.size() && n < kNotesShown; ++n) lines << FromText(result.notes[n]);
        if (result.notes.size() > kNotesShown)
            lines << QStringLiteral("(and %1 more notes)").arg(result.notes.size() - kNotesShown);
    }
    lines << FromText(result.error.empty() ? WrittenMessage(result.filesWritten, result.folder) : result.error);
    ShowStatus(lines.join(QLatin1Char('\n')));
}

void SplitterWindow::ShowStatus(const QString& text) {
    Label1->setText(text);
    Label1->setToolTip(text);  // the whole text, should a long folder name not fit
}

}  // namespace lutrane

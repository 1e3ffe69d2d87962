#include <QRadioButton>
#include <QCheckBox>
#include <QLabel>
#include <exception>

#include "calc/GapSink.h"
#include "calc/IdentifyRun.h"
#include "ui/LibraryCheckWindow.h"
#include "ui/MainWindow.h"
#include "ui/PathText.h"

// The library check: `kadrel gap` on set 1, run as the window runs every comparison.
namespace kadrel::ui {

// Set 1 against itself, each unordered pair once, by the window's model, formulas and aligner;
// the species come from the headers, in any form `identify` reads, as the command line reads
// them without --taxonomy. No backup is written: a stopped check is simply run again.
void MainWindow::CommandCheck_Click() {
    if (RunInProgress()) return;
    status_->clear();
    std::unique_ptr<Aligner> aligner = MakeChosenAligner();
    if (!aligner) return;
    std::optional<SequenceSet> library = FixSet(1);
    if (!library) return;
    std::shared_ptr<GapAnalysis> check;
    try {
        check = std::make_shared<GapAnalysis>(NewGapAnalysis(ReadRecordTaxa(*library, nullptr)));
    } catch (const std::exception& e) {
        dialogs_->ShowError(this, QString::fromStdString(e.what()));
        return;
    }
    RunOptions options = ChosenRunOptions(*library, *library);
    options.laterOnly = true;
    const std::filesystem::path& where =
        library->source == SetSource::MultipleSequenceFile ? library->chosenFile : library->folderPath;
    QString model;
    for (const QRadioButton* option : options_)
        if (option->isChecked()) model = option->text();
    checkedTitle_ = ToText(where.filename()) + QStringLiteral(", ") + model +
                    (options.textbook ? QStringLiteral(", published formulas") : QStringLiteral(", classic formulas"));
    SequenceSet same = *library;
    StartRun(std::move(*library), std::move(same), std::move(options), std::move(aligner), std::nullopt,
             std::move(check));
}

// Only a check that ran to its end is shown: a stopped one would give a library's gaps from part
// of its pairs.
void MainWindow::ShowLibraryCheck() {
    auto* window = new LibraryCheckWindow(*checked_, checkedTitle_, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

}  // namespace kadrel::ui

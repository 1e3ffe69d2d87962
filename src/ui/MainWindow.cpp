#include "ui/MainWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <chrono>
#include <exception>
#include <iostream>

#include "align/TextFile.h"
#include "align/builtin/BuiltinAligner.h"
#include "align/pairhmm/PairHmmAligner.h"
#include "calc/GapSink.h"
#include "calc/PairsAtOnce.h"
#include "calc/ReportDistances.h"
#include "calc/ResumePoint.h"
#include "distances/NumberText.h"
#include "ui/ChartWindow.h"
#include "ui/DistanceChart.h"
#include "ui/DriveList.h"
#include "ui/FileList.h"
#include "ui/FolderList.h"
#include "ui/PathText.h"
#include "ui/QueuedReportSink.h"
#include "ui/ReportBox.h"
#include "ui/ReportFile.h"
#include "ui/RunProgressText.h"

namespace kadrel::ui {

MainWindow::MainWindow(std::unique_ptr<WindowDialogs> dialogs, AlignerFactory makeAligner, QWidget* parent)
    : QWidget(parent),
      dialogs_(std::move(dialogs)),
      makeAligner_(std::move(makeAligner)),
      concurrentPairs_(0) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kadrel"));
    BuildControls();
    ArrangeControls();
    SetTabOrder();
    ConnectHandlers();
    for (Side& side : sides_) side.dir->SetPath(QDir::currentPath());
    ShowRunning(false);
}

MainWindow::~MainWindow() {
    // The aligner kills its process on a stop request, so this join does not wait for a pair.
    worker_.request_stop();
    if (worker_.joinable()) worker_.join();
}

void MainWindow::Check1_Click(bool ticked) { SideTicked(sides_[0], ticked); }
void MainWindow::Check2_Click(bool ticked) { SideTicked(sides_[1], ticked); }

void MainWindow::SideTicked(Side& side, bool ticked) {
    if (ticked && !ChooseSideFile(side)) {
        const QSignalBlocker quiet(side.check);
        side.check->setChecked(false);
        ticked = false;
    }
    if (!ticked) {
        side.chosenFile.clear();
        side.file->SetPath(side.dir->Path());
    }
    EnableSideLists(side, false);
}

bool MainWindow::ChooseSideFile(Side& side) {
    const std::optional<QString> chosen = dialogs_->OpenSequenceFile(this);
    if (!chosen) return false;
    side.chosenFile = *chosen;
    side.file->ShowChosenFile(*chosen);
    return true;
}

// A ticked side reads its multiple-sequence file, so its drive and folder have nothing to say; its
// file list shows that file, and a click on it chooses another.
void MainWindow::EnableSideLists(Side& side, bool running) {
    const bool folders = !running && !side.check->isChecked();
    side.drive->setEnabled(folders);
    side.dir->setEnabled(folders);
    side.file->setEnabled(!running);
}

void MainWindow::Drive1_Change(const QString& root) { MoveSideToDrive(sides_[0], root); }
void MainWindow::Drive2_Change(const QString& root) { MoveSideToDrive(sides_[1], root); }

void MainWindow::MoveSideToDrive(Side& side, const QString& root) {
    // A drive that cannot be listed leaves the folder where it was.
    side.dir->SetPath(root);
}

void MainWindow::Dir1_Change(const QString& path) { FolderChanged(sides_[0], path); }
void MainWindow::Dir2_Change(const QString& path) { FolderChanged(sides_[1], path); }

void MainWindow::FolderChanged(Side& side, const QString& path) {
    if (!side.check->isChecked()) side.file->SetPath(path);
}

void MainWindow::FileEntryClicked(Side& side) {
    if (side.check->isChecked() && !RunInProgress()) ChooseSideFile(side);
}

void MainWindow::Command1_Click() {
    if (RunInProgress()) return;
    status_->clear();
    std::unique_ptr<Aligner> aligner = MakeChosenAligner();
    if (!aligner) return;
    // The current folder as it is when the run starts, for the whole run.
    const std::filesystem::path backup = ToPath(QDir::current().absoluteFilePath(QStringLiteral("query.bak")));
    std::optional<SequenceSet> set1 = FixSet(1);
    if (!set1) return;
    std::optional<SequenceSet> set2 = FixSet(2);
    if (!set2) return;

    RunOptions options = ChosenRunOptions(*set1, *set2);
    options.decimalSeparator = LocaleDecimalSeparator();
    options.backupFile = backup;
    options.bestCount = static_cast<unsigned>(best_->value());
    options.bestTies = ties_->isChecked();
    options.bannerDate =
        QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat).toStdString();
    std::optional<ResumePoint> resume = OfferBackup(*set1, *set2, options);
    StartRun(std::move(*set1), std::move(*set2), std::move(options), std::move(aligner), std::move(resume));
}

std::unique_ptr<Aligner> MainWindow::MakeChosenAligner() {
    std::unique_ptr<Aligner> aligner;
    const QString chosen = aligner_->currentData().toString();
    if (chosen == QStringLiteral("builtin")) aligner = std::make_unique<BuiltinAligner>();
    else if (chosen == QStringLiteral("pairhmm")) aligner = std::make_unique<PairHmmAligner>();
    else aligner = makeAligner_();
    if (const std::string missing = aligner->CheckAvailable(); !missing.empty()) {
        dialogs_->ShowError(this, QString::fromStdString(missing));
        return nullptr;
    }
    return aligner;
}

RunOptions MainWindow::ChosenRunOptions(const SequenceSet& set1, const SequenceSet& set2) const {
    RunOptions options;
    options.model = ChosenModel();
    options.textbook = textbook_->isChecked();
    const QString chosen = aligner_->currentData().toString();
    const PairsAtOnce pairsAtOnce =
        ChoosePairsAtOnce(set1, set2, chosen == QStringLiteral("t_coffee"), concurrentPairs_);
    if (!pairsAtOnce.notice.empty()) std::cerr << "kadrel: " << pairsAtOnce.notice << "\n";
    options.concurrentPairs = pairsAtOnce.pairs;
    // Named as the command line names it, so that either can go on from the other's backup.
    options.alignerName = chosen.toStdString();
    return options;
}

// A backup of this very run, one that was killed or stopped, saves aligning what it holds; one
// of any other run is left to be replaced, as the run always did.
std::optional<ResumePoint> MainWindow::OfferBackup(const SequenceSet& set1, const SequenceSet& set2,
                                                   const RunOptions& options) {
    if (!IsBackupOfRun(options.backupFile, set1, set2, options)) return std::nullopt;
    std::string error;
    const auto text = ReadWholeFile(options.backupFile, error);
    if (!text) return std::nullopt;
    std::optional<ResumePoint> point;
    try {
        point = ReadResumePoint(*text, options.backupFile.string(), set1, set2, options);
    } catch (const ResumeError&) {
        return std::nullopt;
    }
    const auto records = static_cast<qulonglong>(point->records.size());
    const QString question =
        QStringLiteral("The backup %1 holds the rows of %2 of the %3 set-1 records of this same run "
                       "(the same sets, model, formulas, best matches and aligner).\n\n"
                       "Go on from it? Yes aligns only what it does not hold; No starts afresh and replaces it.")
            .arg(QString::fromStdString(QuotedPath(options.backupFile)))
            .arg(records)
            .arg(static_cast<qulonglong>(std::min(options.set1End, set1.count) - options.set1Begin));
    if (!dialogs_->AskYesNo(this, question)) return std::nullopt;
    return point;
}

std::optional<SequenceSet> MainWindow::FixSet(int sideNumber) {
    const Side& side = sides_[sideNumber - 1];
    std::filesystem::path path;
    SetSource source = SetSource::Folder;
    if (side.check->isChecked()) {
        path = ToPath(side.chosenFile);
        source = SetSource::MultipleSequenceFile;
    } else {
        side.file->Refresh();
        path = ToPath(side.file->Path());
    }
    try {
        SequenceSet set = ReadSequenceSet(sideNumber, path, source);
        RequireRecords(set);
        return set;
    } catch (const std::exception& e) {
        dialogs_->ShowError(this, QString::fromStdString(e.what()));
        return std::nullopt;
    }
}

DistanceModel MainWindow::ChosenModel() const {
    DistanceModel model = DistanceModel::None;
    for (int i = 0; i < 6; ++i)
        if (options_[i]->isChecked()) model = static_cast<DistanceModel>(i + 1);
    return model;
}

void MainWindow::StartRun(SequenceSet set1, SequenceSet set2, RunOptions options, std::unique_ptr<Aligner> aligner,
                          std::optional<ResumePoint> resume, std::shared_ptr<GapAnalysis> check) {
    checked_ = check;
    runWarnings_.clear();
    pairsDone_ = pairsTotal_ = 0;
    ShowRunning(true);
    runClock_.start();

    struct Job {
        SequenceSet set1, set2;
        RunOptions options;
        std::unique_ptr<Aligner> aligner;
        std::optional<ResumePoint> resume;
        std::shared_ptr<GapAnalysis> check;
    };
    auto job = std::make_shared<Job>(Job{std::move(set1), std::move(set2), std::move(options), std::move(aligner),
                                         std::move(resume), std::move(check)});
    if (job->resume) job->options.resume = &*job->resume;
    ReportSink* windowSide = this;
    worker_ = std::jthread([this, job, windowSide](std::stop_token stop) {
        QueuedReportSink sink(this, *windowSide);
        // A library check keeps the pairs' distances, not the report; progress and warnings still come.
        std::optional<GapSink> checkSink;
        if (job->check) checkSink.emplace(sink, *job->check, job->options.model, job->set1.count, GapSink::RowReceiver());
        ReportSink& target = checkSink ? static_cast<ReportSink&>(*checkSink) : sink;
        RunSummary summary;
        QString failure;
        try {
            summary = RunComparison(job->set1, job->set2, job->options, *job->aligner, target, stop);
        } catch (const std::exception& e) {
            failure = QString::fromStdString(e.what());
            summary.stopped = true;
        }
        sink.Flush();
        job->aligner.reset();  // its work folder goes before the window hears the run is over
        QMetaObject::invokeMethod(this, [this, summary, failure] { FinishRun(summary, failure); },
                                  Qt::QueuedConnection);
    });
}

void MainWindow::FinishRun(const RunSummary& summary, const QString& failure) {
    if (worker_.joinable()) worker_.join();  // the worker has nothing left to do but end
    status_->setText(QString::fromStdString(summary.StatusText()));
    ShowRunning(false);
    ShowProgress(false);
    if (const std::string skipped = summary.SkippedText(); !skipped.empty())
        dialogs_->ShowWarning(this, QString::fromStdString(skipped));
    if (!failure.isEmpty()) dialogs_->ShowError(this, failure);
    if (checked_ && failure.isEmpty() && !summary.stopped) ShowLibraryCheck();
    emit RunFinished();
}

void MainWindow::ShowRunning(bool running) {
    calculate_->setEnabled(!running);
    stop_->setEnabled(running);
    for (QRadioButton* option : options_) option->setEnabled(!running);
    textbook_->setEnabled(!running);
    aligner_->setEnabled(!running);
    best_->setEnabled(!running);
    ties_->setEnabled(!running);
    chart_->setEnabled(!running);
    check_->setEnabled(!running);
    for (Side& side : sides_) {
        side.check->setEnabled(!running);
        EnableSideLists(side, running);
    }
    if (running) {
        progress_->setRange(0, 0);  // busy until the run knows its pairs
        progress_->setTextVisible(false);
    }
}

void MainWindow::Command2_Click() {
    const std::optional<QString> path = dialogs_->SaveReportFile(this);
    if (!path) return;
    if (const QString problem = WriteReportFile(*path, report_->ReportText()); !problem.isEmpty()) {
        dialogs_->ShowError(this, problem);
        return;
    }
    report_->ClearReport();
}

void MainWindow::Command3_Click() { report_->ClearReport(); }

void MainWindow::Command4_Click() {
    worker_.request_stop();
    close();
    QCoreApplication::quit();
}

void MainWindow::CommandStop_Click() { worker_.request_stop(); }

void MainWindow::CommandChart_Click() {
    ReportDistances distances;
    try {
        distances = ReadReportDistances(report_->ReportText());
    } catch (const ReportFormatError& e) {
        dialogs_->ShowError(this, QStringLiteral("The report box: ") + QString::fromStdString(e.what()));
        return;
    }
    if (const auto nothing = NothingToDraw(distances)) {
        dialogs_->ShowError(this, QStringLiteral("The report box: ") + QString::fromStdString(*nothing));
        return;
    }
    auto* window = new ChartWindow(std::move(distances), *dialogs_, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    worker_.request_stop();
    QWidget::closeEvent(event);
}

void MainWindow::Append(std::string_view text) { report_->AppendReport(text); }

// The run writes its own backup, whatever Pause and Save have done to the box.
void MainWindow::RecordFinished(std::size_t) {}

void MainWindow::Progress(std::size_t pairsDone, std::size_t pairsTotal) {
    pairsDone_ = pairsDone;
    pairsTotal_ = pairsTotal;
    ShowProgress(true);
}

void MainWindow::ShowProgress(bool withEstimate) {
    // A progress bar counts in int; large runs are shown in thousandths.
    const bool scaled = pairsTotal_ > 1000000;
    const auto toBar = [&](std::size_t n) { return static_cast<int>(scaled ? n * 1000 / pairsTotal_ : n); };
    progress_->setRange(0, std::max(1, toBar(pairsTotal_)));
    progress_->setValue(pairsTotal_ == 0 ? 1 : toBar(pairsDone_));
    progress_->setFormat(withEstimate
                             ? RunProgressText(pairsDone_, pairsTotal_, std::chrono::milliseconds(runClock_.elapsed()))
                             : PairsDoneText(pairsDone_, pairsTotal_));
    progress_->setTextVisible(true);
}

void MainWindow::Warning(std::string_view message) {
    if (!runWarnings_.emplace(message).second) return;
    dialogs_->ShowWarning(this, QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
}

}  // namespace kadrel::ui

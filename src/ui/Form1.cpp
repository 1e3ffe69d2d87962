#include "ui/Form1.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <exception>
#include <iostream>

#include "align/builtin/BuiltinAligner.h"
#include "calc/PairsAtOnce.h"
#include "calc/ReportDistances.h"
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
namespace {

// Option1 to Option6 are the models in DistanceModel's order; Option7, the way back, is none.
const char* const kModelCaptions[7] = {
    "Jukes-Cantor (JC)", "Kimura 2-parameter (K2P)", "Tajima-Nei (TN84)",
    "Tamura 3-parameter (T3P)", "Tamura-Nei (TN93)", "LogDet", "p-distance only",
};

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

Form1::Form1(std::unique_ptr<WindowDialogs> dialogs, AlignerFactory makeAligner, QWidget* parent)
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

Form1::~Form1() {
    // The aligner kills its process on a stop request, so this join does not wait for a pair.
    worker_.request_stop();
    if (worker_.joinable()) worker_.join();
}

void Form1::BuildControls() {
    for (int i = 0; i < 2; ++i) {
        const QString n = QString::number(i + 1);
        Side& side = sides_[i];
        side.check = new QCheckBox(QStringLiteral("multiple sequence file"), this);
        side.check->setObjectName(QStringLiteral("Check") + n);
        side.drive = new DriveList(this);
        side.drive->setObjectName(QStringLiteral("Drive") + n);
        side.dir = new FolderList(this);
        side.dir->setObjectName(QStringLiteral("Dir") + n);
        side.file = new FileList(this);
        side.file->setObjectName(QStringLiteral("File") + n);
    }
    calculate_ = MakeButton(this, "Command1", "Calculate");
    save_ = MakeButton(this, "Command2", "Save");
    pause_ = MakeButton(this, "Command3", "Pause");
    exit_ = MakeButton(this, "Command4", "Exit");
    stop_ = MakeButton(this, "CommandStop", "Stop");
    chart_ = MakeButton(this, "CommandChart", "Chart");

    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < 7; ++i) {
        options_[i] = new QRadioButton(QString::fromLatin1(kModelCaptions[i]), this);
        options_[i]->setObjectName(QStringLiteral("Option") + QString::number(i + 1));
        group->addButton(options_[i], i + 1);
    }
    options_[6]->setChecked(true);
    textbook_ = new QCheckBox(QStringLiteral("published formulas"), this);
    textbook_->setObjectName(QStringLiteral("CheckTextbook"));

    aligner_ = new QComboBox(this);
    aligner_->setObjectName(QStringLiteral("AlignerChoice"));
    aligner_->addItem(QStringLiteral("t_coffee"), QStringLiteral("t_coffee"));
    aligner_->addItem(QStringLiteral("built-in (fast)"), QStringLiteral("builtin"));

    best_ = new QSpinBox(this);
    best_->setObjectName(QStringLiteral("BestCount"));
    best_->setRange(1, 99);
    ties_ = new QCheckBox(QStringLiteral("ties"), this);
    ties_->setObjectName(QStringLiteral("CheckTies"));

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Label1"));
    status_->setFont(QFont(QStringLiteral("MS Sans Serif"), 12));
    status_->setWordWrap(true);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setTextVisible(false);

    report_ = new ReportBox(this);
    report_->setObjectName(QStringLiteral("RichTextBox2"));
}

void Form1::ArrangeControls() {
    // Set 1 on the left, set 2 on the right; the folder lists and the report take the new room.
    auto* sets = new QGridLayout;
    sets->setHorizontalSpacing(15);
    for (int i = 0; i < 2; ++i) {
        sets->addWidget(sides_[i].check, 0, i);
        sets->addWidget(sides_[i].drive, 1, i);
        sets->addWidget(sides_[i].dir, 2, i);
        sets->addWidget(sides_[i].file, 3, i);
        sets->setColumnStretch(i, 1);
    }
    sets->setRowMinimumHeight(2, 126);
    sets->setRowMinimumHeight(3, 58);
    sets->setRowStretch(2, 2);
    sets->setRowStretch(3, 1);

    auto* run = new QGridLayout;
    run->addWidget(calculate_, 0, 0);
    run->addWidget(stop_, 1, 0);
    run->addWidget(status_, 2, 0);
    for (int i = 0; i < 3; ++i) {
        run->addWidget(options_[i], i, 1);
        run->addWidget(options_[i + 3], i, 2);
    }
    run->addWidget(options_[6], 3, 1);
    run->addWidget(textbook_, 3, 2);
    auto* alignerRow = new QHBoxLayout;
    auto* alignerLabel = new QLabel(QStringLiteral("Aligner:"), this);
    alignerLabel->setBuddy(aligner_);
    alignerRow->addWidget(alignerLabel);
    alignerRow->addWidget(aligner_);
    alignerRow->addSpacing(24);
    auto* bestLabel = new QLabel(QStringLiteral("Best matches:"), this);
    bestLabel->setBuddy(best_);
    alignerRow->addWidget(bestLabel);
    alignerRow->addWidget(best_);
    alignerRow->addWidget(ties_);
    alignerRow->addStretch(1);
    run->addLayout(alignerRow, 4, 0, 1, 3);
    run->setColumnMinimumWidth(0, 113);
    run->setColumnStretch(3, 1);
    run->setHorizontalSpacing(24);

    auto* commands = new QHBoxLayout;
    commands->addWidget(pause_);
    commands->addStretch(1);
    commands->addWidget(exit_);
    commands->addStretch(1);
    commands->addWidget(chart_);
    commands->addWidget(save_);

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(16, 16, 16, 12);
    window->addLayout(sets, 3);
    window->addSpacing(6);
    window->addLayout(run);
    window->addWidget(progress_);
    window->addWidget(report_, 2);
    window->addLayout(commands);

    for (QPushButton* button : {calculate_, stop_, save_, pause_, exit_, chart_}) button->setMinimumWidth(113);
    report_->setMinimumHeight(113);
    resize(600, 640);
}

void Form1::SetTabOrder() {
    QWidget* const order[] = {
        report_, calculate_, stop_, chart_, save_, pause_, exit_,
        sides_[0].dir, sides_[0].file, sides_[0].drive, sides_[1].drive, sides_[1].dir, sides_[1].file,
        options_[0], options_[1], options_[2], options_[3], options_[4], options_[5], options_[6], textbook_,
        aligner_, best_, ties_,
        sides_[0].check, sides_[1].check,
    };
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void Form1::ConnectHandlers() {
    connect(sides_[0].check, &QCheckBox::toggled, this, &Form1::Check1_Click);
    connect(sides_[1].check, &QCheckBox::toggled, this, &Form1::Check2_Click);
    connect(sides_[0].drive, &DriveList::DriveChanged, this, &Form1::Drive1_Change);
    connect(sides_[1].drive, &DriveList::DriveChanged, this, &Form1::Drive2_Change);
    connect(sides_[0].dir, &FolderList::PathChanged, this, &Form1::Dir1_Change);
    connect(sides_[1].dir, &FolderList::PathChanged, this, &Form1::Dir2_Change);
    connect(calculate_, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(save_, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(pause_, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(exit_, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(stop_, &QPushButton::clicked, this, &Form1::CommandStop_Click);
    connect(chart_, &QPushButton::clicked, this, &Form1::CommandChart_Click);
}

// A ticked side reads a multiple-sequence file, so its folder pickers have nothing to say.
void Form1::Check1_Click(bool ticked) { EnableSideLists(sides_[0], !ticked); }
void Form1::Check2_Click(bool ticked) { EnableSideLists(sides_[1], !ticked); }

void Form1::EnableSideLists(Side& side, bool enabled) {
    side.drive->setEnabled(enabled);
    side.dir->setEnabled(enabled);
    side.file->setEnabled(enabled);
}

void Form1::Drive1_Change(const QString& root) { MoveSideToDrive(sides_[0], root); }
void Form1::Drive2_Change(const QString& root) { MoveSideToDrive(sides_[1], root); }

void Form1::MoveSideToDrive(Side& side, const QString& root) {
    // A drive that cannot be listed leaves the folder where it was.
    side.dir->SetPath(root);
}

void Form1::Dir1_Change(const QString& path) { sides_[0].file->SetPath(path); }
void Form1::Dir2_Change(const QString& path) { sides_[1].file->SetPath(path); }

void Form1::Command1_Click() {
    if (RunInProgress()) return;
    status_->clear();

    std::unique_ptr<Aligner> aligner;
    const bool builtin = aligner_->currentData().toString() == QStringLiteral("builtin");
    if (builtin) aligner = std::make_unique<BuiltinAligner>();
    else aligner = makeAligner_();
    if (const std::string missing = aligner->CheckAvailable(); !missing.empty()) {
        dialogs_->ShowError(this, QString::fromStdString(missing));
        return;
    }
    // The current folder as it is when the run starts, for the whole run.
    const std::filesystem::path backup = ToPath(QDir::current().absoluteFilePath(QStringLiteral("query.bak")));
    std::optional<SequenceSet> set1 = FixSet(1, backup);
    if (!set1) return;
    std::optional<SequenceSet> set2 = FixSet(2, backup);
    if (!set2) return;

    RunOptions options;
    options.model = ChosenModel();
    options.textbook = textbook_->isChecked();
    options.decimalSeparator = LocaleDecimalSeparator();
    const PairsAtOnce pairsAtOnce = ChoosePairsAtOnce(*set1, *set2, !builtin, concurrentPairs_);
    if (!pairsAtOnce.notice.empty()) std::cerr << "kadrel: " << pairsAtOnce.notice << "\n";
    options.concurrentPairs = pairsAtOnce.pairs;
    options.backupFile = backup;
    options.bestCount = static_cast<unsigned>(best_->value());
    options.bestTies = ties_->isChecked();
    options.bannerDate =
        QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat).toStdString();
    StartRun(std::move(*set1), std::move(*set2), std::move(options), std::move(aligner));
}

std::optional<SequenceSet> Form1::FixSet(int sideNumber, const std::filesystem::path& backup) {
    const Side& side = sides_[sideNumber - 1];
    std::filesystem::path path;
    SetSource source = SetSource::Folder;
    if (side.check->isChecked()) {
        const std::optional<QString> chosen = dialogs_->OpenSequenceFile(this);
        if (!chosen) return std::nullopt;
        path = ToPath(*chosen);
        source = SetSource::MultipleSequenceFile;
    } else {
        side.file->Refresh();
        path = ToPath(side.file->Path());
    }
    try {
        SequenceSet set = ReadSequenceSet(sideNumber, path, source, backup);
        RequireRecords(set);
        return set;
    } catch (const std::exception& e) {
        dialogs_->ShowError(this, QString::fromStdString(e.what()));
        return std::nullopt;
    }
}

DistanceModel Form1::ChosenModel() const {
    DistanceModel model = DistanceModel::None;
    for (int i = 0; i < 6; ++i)
        if (options_[i]->isChecked()) model = static_cast<DistanceModel>(i + 1);
    return model;
}

void Form1::StartRun(SequenceSet set1, SequenceSet set2, RunOptions options, std::unique_ptr<Aligner> aligner) {
    runWarnings_.clear();
    pairsDone_ = pairsTotal_ = 0;
    ShowRunning(true);
    runClock_.start();

    struct Job {
        SequenceSet set1, set2;
        RunOptions options;
        std::unique_ptr<Aligner> aligner;
    };
    auto job = std::make_shared<Job>(Job{std::move(set1), std::move(set2), std::move(options), std::move(aligner)});
    ReportSink* windowSide = this;
    worker_ = std::jthread([this, job, windowSide](std::stop_token stop) {
        QueuedReportSink sink(this, *windowSide);
        RunSummary summary;
        QString failure;
        try {
            summary = RunComparison(job->set1, job->set2, job->options, *job->aligner, sink, stop);
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

void Form1::FinishRun(const RunSummary& summary, const QString& failure) {
    if (worker_.joinable()) worker_.join();  // the worker has nothing left to do but end
    status_->setText(QString::fromStdString(summary.StatusText()));
    ShowRunning(false);
    ShowProgress(false);
    if (!failure.isEmpty()) dialogs_->ShowError(this, failure);
    emit RunFinished();
}

void Form1::ShowRunning(bool running) {
    calculate_->setEnabled(!running);
    stop_->setEnabled(running);
    for (QRadioButton* option : options_) option->setEnabled(!running);
    textbook_->setEnabled(!running);
    aligner_->setEnabled(!running);
    best_->setEnabled(!running);
    ties_->setEnabled(!running);
    chart_->setEnabled(!running);
    for (Side& side : sides_) {
        side.check->setEnabled(!running);
        EnableSideLists(side, !running && !side.check->isChecked());
    }
    if (running) {
        progress_->setRange(0, 0);  // busy until the run knows its pairs
        progress_->setTextVisible(false);
    }
}

void Form1::Command2_Click() {
    const std::optional<QString> path = dialogs_->SaveReportFile(this);
    if (!path) return;
    if (const QString problem = WriteReportFile(*path, report_->ReportText()); !problem.isEmpty()) {
        dialogs_->ShowError(this, problem);
        return;
    }
    report_->ClearReport();
}

void Form1::Command3_Click() { report_->ClearReport(); }

void Form1::Command4_Click() {
    worker_.request_stop();
    close();
    QCoreApplication::quit();
}

void Form1::CommandStop_Click() { worker_.request_stop(); }

void Form1::CommandChart_Click() {
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

void Form1::closeEvent(QCloseEvent* event) {
    worker_.request_stop();
    QWidget::closeEvent(event);
}

void Form1::Append(std::string_view text) { report_->AppendReport(text); }

// The run writes its own backup, whatever Pause and Save have done to the box.
void Form1::RecordFinished(std::size_t) {}

void Form1::Progress(std::size_t pairsDone, std::size_t pairsTotal) {
    pairsDone_ = pairsDone;
    pairsTotal_ = pairsTotal;
    ShowProgress(true);
}

void Form1::ShowProgress(bool withEstimate) {
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

void Form1::Warning(std::string_view message) {
    if (!runWarnings_.emplace(message).second) return;
    dialogs_->ShowWarning(this, QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
}

}  // namespace kadrel::ui

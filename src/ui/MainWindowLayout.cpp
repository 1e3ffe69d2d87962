#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QMetaObject>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/DriveList.h"
#include "ui/FileList.h"
#include "ui/FolderList.h"
#include "ui/MainWindow.h"
#include "ui/ReportBox.h"

// The window's controls, where they sit, and what each one sets off.
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

void MainWindow::BuildControls() {
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
    check_ = MakeButton(this, "CommandCheck", "Library check");

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
    aligner_->addItem(QStringLiteral("t_coffee's method (in process)"), QStringLiteral("pairhmm"));
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

void MainWindow::ArrangeControls() {
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
    commands->addWidget(check_);
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

    for (QPushButton* button : {calculate_, stop_, save_, pause_, exit_, chart_, check_}) button->setMinimumWidth(113);
    report_->setMinimumHeight(113);
    resize(600, 640);
}

void MainWindow::SetTabOrder() {
    QWidget* const order[] = {
        report_, calculate_, stop_, check_, chart_, save_, pause_, exit_,
        sides_[0].dir, sides_[0].file, sides_[0].drive, sides_[1].drive, sides_[1].dir, sides_[1].file,
        options_[0], options_[1], options_[2], options_[3], options_[4], options_[5], options_[6], textbook_,
        aligner_, best_, ties_,
        sides_[0].check, sides_[1].check,
    };
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void MainWindow::ConnectHandlers() {
    connect(sides_[0].check, &QCheckBox::toggled, this, &MainWindow::Check1_Click);
    connect(sides_[1].check, &QCheckBox::toggled, this, &MainWindow::Check2_Click);
    connect(sides_[0].drive, &DriveList::DriveChanged, this, &MainWindow::Drive1_Change);
    connect(sides_[1].drive, &DriveList::DriveChanged, this, &MainWindow::Drive2_Change);
    connect(sides_[0].dir, &FolderList::PathChanged, this, &MainWindow::Dir1_Change);
    connect(sides_[1].dir, &FolderList::PathChanged, this, &MainWindow::Dir2_Change);
    for (Side& side : sides_)
        // Once the click is handled: the new choice replaces the entry clicked.
        connect(side.file, &QListWidget::itemClicked, this, [this, &side] {
            QMetaObject::invokeMethod(this, [this, &side] { FileEntryClicked(side); }, Qt::QueuedConnection);
        });
    connect(calculate_, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(save_, &QPushButton::clicked, this, &MainWindow::Command2_Click);
    connect(pause_, &QPushButton::clicked, this, &MainWindow::Command3_Click);
    connect(exit_, &QPushButton::clicked, this, &MainWindow::Command4_Click);
    connect(stop_, &QPushButton::clicked, this, &MainWindow::CommandStop_Click);
    connect(chart_, &QPushButton::clicked, this, &MainWindow::CommandChart_Click);
    connect(check_, &QPushButton::clicked, this, &MainWindow::CommandCheck_Click);
}

}  // namespace kadrel::ui

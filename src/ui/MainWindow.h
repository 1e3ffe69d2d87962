#pragma once
#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "align/Aligner.h"
#include "calc/GapAnalysis.h"
#include "calc/ReportSink.h"
#include "calc/ResumePoint.h"
#include "calc/RunComparison.h"
#include "calc/SequenceSet.h"
#include "distances/DistanceModel.h"
#include "ui/WindowDialogs.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kadrel::ui {

class DriveList;
class FileList;
class FolderList;
class ReportBox;

// The Kadrel window. A run goes on a worker thread; everything it reports comes back to this
// thread in report order, so the report box and the progress bar are only ever touched here.
class MainWindow : public QWidget, private ReportSink {
    Q_OBJECT
public:
    // A fresh aligner for every run.
    using AlignerFactory = std::function<std::unique_ptr<Aligner>()>;

    MainWindow(std::unique_ptr<WindowDialogs> dialogs, AlignerFactory makeAligner, QWidget* parent = nullptr);
    ~MainWindow() override;

    bool RunInProgress() const { return worker_.joinable(); }
    // Pairs aligned at once in the next runs; 0 (unless set): the command line's default.
    void SetConcurrentPairs(unsigned pairs) { concurrentPairs_ = pairs; }

signals:
    // Label1 holds the run's status by now.
    void RunFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Side {
        QCheckBox* check = nullptr;
        DriveList* drive = nullptr;
        FolderList* dir = nullptr;
        FileList* file = nullptr;
        QString chosenFile;  // the multiple-sequence file, while the box is ticked
    };

    void BuildControls();
    void ArrangeControls();
    void SetTabOrder();
    void ConnectHandlers();

    void Check1_Click(bool ticked);
    void Check2_Click(bool ticked);
    void Drive1_Change(const QString& root);
    void Drive2_Change(const QString& root);
    void Dir1_Change(const QString& path);
    void Dir2_Change(const QString& path);
    void FolderChanged(Side& side, const QString& path);
    void FileEntryClicked(Side& side);
    void Command1_Click();  // Calculate
    void Command2_Click();  // Save
    void Command3_Click();  // Pause
    void Command4_Click();  // Exit
    void CommandStop_Click();
    void CommandChart_Click();
    void CommandCheck_Click();  // Library check: `kadrel gap` on set 1

    // A ticked box asks for its file at once and shows it; a cancelled choice unticks it again.
    void SideTicked(Side& side, bool ticked);
    // Asks for the side's multiple-sequence file; false when the user cancelled.
    bool ChooseSideFile(Side& side);
    void EnableSideLists(Side& side, bool running);
    void MoveSideToDrive(Side& side, const QString& root);
    // The set of one side for the run about to start; nothing when the user cancelled or it
    // cannot be read (the user has been told).
    std::optional<SequenceSet> FixSet(int sideNumber);
    DistanceModel ChosenModel() const;
    // The aligner chosen for the next run; null when it is not there (the user has been told).
    std::unique_ptr<Aligner> MakeChosenAligner();
    // The options every run takes from the window: model, formulas, pairs at once, aligner.
    RunOptions ChosenRunOptions(const SequenceSet& set1, const SequenceSet& set2) const;
    // What the backup holds, when it is of this very run and the user chose to go on from it.
    std::optional<ResumePoint> OfferBackup(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options);
    // With `check`, the run is a library check (set 2 is set 1): its pairs go into `check`,
    // shown in a LibraryCheckWindow when the run ends whole, and no report is written.
    void StartRun(SequenceSet set1, SequenceSet set2, RunOptions options, std::unique_ptr<Aligner> aligner,
                  std::optional<ResumePoint> resume, std::shared_ptr<GapAnalysis> check = nullptr);
    void ShowLibraryCheck();
    void FinishRun(const RunSummary& summary, const QString& failure);
    void ShowRunning(bool running);
    void ShowProgress(bool withEstimate);

    // What the run reports, arriving on the window thread.
    void Append(std::string_view text) override;
    void RecordFinished(std::size_t index) override;
    void Progress(std::size_t pairsDone, std::size_t pairsTotal) override;
    void Warning(std::string_view message) override;

    std::unique_ptr<WindowDialogs> dialogs_;
    AlignerFactory makeAligner_;
    unsigned concurrentPairs_;

    Side sides_[2];
    QPushButton* calculate_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* pause_ = nullptr;
    QPushButton* exit_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* chart_ = nullptr;
    QPushButton* check_ = nullptr;  // "Library check"
    QRadioButton* options_[7] = {};
    QCheckBox* textbook_ = nullptr;  // "published formulas"
    QComboBox* aligner_ = nullptr;  // t_coffee (through makeAligner_) or the built-in aligner
    QSpinBox* best_ = nullptr;       // best matches listed per set-1 record
    QCheckBox* ties_ = nullptr;      // and those tied with the last
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    ReportBox* report_ = nullptr;

    std::jthread worker_;
    QElapsedTimer runClock_;
    std::size_t pairsDone_ = 0;
    std::size_t pairsTotal_ = 0;
    std::set<std::string> runWarnings_;
    std::shared_ptr<GapAnalysis> checked_;  // the library check under way, or just done
    QString checkedTitle_;                  // its set and distance, for its window
};

}  // namespace kadrel::ui

#pragma once
// The window under test: a fixture that opens it in a folder of its own, with scripted dialogs.
#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "ui/FolderList.h"
#include "ui/MainWindow.h"
#include "ui/ReportBox.h"

namespace kadrel::ui::test {

namespace fs = std::filesystem;
using kadrel::test::ReadText;

// Answers the window's dialogs from queues (a null answer, or none left: cancelled) and keeps what
// it was told.
struct ScriptedDialogs : WindowDialogs {
    QStringList openAnswers, saveAnswers, errors, warnings, questions;
    QList<bool> yesNoAnswers;
    int openAsked = 0;

    std::optional<QString> OpenSequenceFile(QWidget*) override { return ++openAsked, Next(openAnswers); }
    std::optional<QString> SaveReportFile(QWidget*) override { return Next(saveAnswers); }
    bool AskYesNo(QWidget*, const QString& question) override {
        questions.append(question);
        return !yesNoAnswers.isEmpty() && yesNoAnswers.takeFirst();
    }
    void ShowError(QWidget*, const QString& message) override { errors.append(message); }
    void ShowWarning(QWidget*, const QString& message) override { warnings.append(message); }
    static std::optional<QString> Next(QStringList& answers) {
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        return answer.isNull() ? std::nullopt : std::optional(answer);
    }
};

// The same usable pair for every call: 10 sites, one transversion. A `missing` message plays a
// t_coffee that is not installed.
struct FixedAligner : Aligner {
    AlignedPair Align(std::string_view, std::string_view, std::string_view, std::stop_token) override {
        return {"ACGTACGTAC", "ACGTACGTTC", 10, "s1", "s2", true, ""};
    }
    std::string CheckAvailable() const override { return missing; }
    std::string missing;
};

// Each test works in its own current folder, where the window's lists start and the backup
// lands; folders "left" and "right" hold three one-record files each, of the same names.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::current_path(work_.Path());
        for (const std::string side : {"left", "right"})
            for (const std::string name : {"a", "b", "c"})
                work_.Write(side + "/" + name + ".fas", ">" + side + "_" + name + "\r\nACGTACGTAC\r\n");
    }
    void TearDown() override {
        form_.reset();  // its run ends before the folder it works in goes
        fs::current_path(previous_);
    }

    // Opens a window, in place of any earlier one, that makes its aligners with `factory`.
    void Open(MainWindow::AlignerFactory factory = [] { return std::make_unique<FixedAligner>(); }) {
        form_.reset();
        auto dialogs = std::make_unique<ScriptedDialogs>();
        dialogs_ = dialogs.get();
        form_ = std::make_unique<MainWindow>(std::move(dialogs), std::move(factory));
        form_->show();
        box_ = Find<ReportBox>("RichTextBox2");
    }
    QString Folder(const std::string& name) const { return QString::fromStdString((work_ / name).string()); }
    void ChooseFolders(const QString& left, const QString& right) {
        ASSERT_TRUE(Find<FolderList>("Dir1")->SetPath(left) && Find<FolderList>("Dir2")->SetPath(right));
    }
    void Click(const QString& name) { Find<QAbstractButton>(name)->click(); }
    void CalculateAndWait() {
        QSignalSpy finished(form_.get(), &MainWindow::RunFinished);
        Click("Command1");
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() > 0; }, 20000)) << "the run did not finish";
    }
    template <typename T = QWidget>
    T* Find(const QString& name) const {
        if (T* widget = form_->findChild<T*>(name)) return widget;
        throw std::runtime_error("no control " + name.toStdString());
    }

    const fs::path previous_ = fs::current_path();
    const kadrel::test::TempFolder work_;
    std::unique_ptr<MainWindow> form_;
    ReportBox* box_ = nullptr;
    ScriptedDialogs* dialogs_ = nullptr;
};

}  // namespace kadrel::ui::test

#pragma once
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <condition_variable>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "align/Aligner.h"
#include "calc/ReportSink.h"
#include "ui/Form1.h"
#include "ui/WindowDialogs.h"

namespace kadrel::ui::test {

// Answers the window's dialogs from queues and remembers what it was told.
class ScriptedDialogs : public WindowDialogs {
public:
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    int openAsked = 0;
    int saveAsked = 0;
    QStringList errors;
    QStringList warnings;

    std::optional<QString> OpenSequenceFile(QWidget*) override;
    std::optional<QString> SaveReportFile(QWidget*) override;
    void ShowError(QWidget*, const QString& message) override { errors.append(message); }
    void ShowWarning(QWidget*, const QString& message) override { warnings.append(message); }
};

// The same usable pair for every call: 10 sites, one transversion.
AlignedPair FixedPair();

class FixedAligner : public Aligner {
public:
    AlignedPair Align(std::string_view, std::string_view, std::string_view, std::stop_token) override {
        return FixedPair();
    }
};

// Holds every pair until the test lets it through, so a test decides where a run stands.
class GatedAligner : public Aligner {
public:
    AlignedPair Align(std::string_view, std::string_view, std::string_view, std::stop_token stop) override;
    void Permit(int pairs);
    int Waiting() const;
    bool SawStop() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    int permits_ = 0;
    int waiting_ = 0;
    bool sawStop_ = false;
};

// Lets a test keep its own aligner while the window owns the one it was given.
class SharedAligner : public Aligner {
public:
    explicit SharedAligner(std::shared_ptr<Aligner> inner) : inner_(std::move(inner)) {}
    AlignedPair Align(std::string_view a, std::string_view b, std::string_view name, std::stop_token stop) override {
        return inner_->Align(a, b, name, stop);
    }
    std::string CheckAvailable() const override { return inner_->CheckAvailable(); }

private:
    std::shared_ptr<Aligner> inner_;
};

class StringSink : public ReportSink {
public:
    std::string text;
    void Append(std::string_view t) override { text.append(t); }
    void RecordFinished(std::size_t) override {}
    void Progress(std::size_t, std::size_t) override {}
    void Warning(std::string_view) override {}
};

void WriteFile(const QString& path, const std::string& content);
std::string ReadFile(const QString& path);
// The report without its first line, the banner, whose date differs from run to run.
std::string WithoutBanner(const std::string& report);
// What the box shows, with the line ends a saved report has.
std::string ShownText(const Form1& form);
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 20000);

// Each test works in its own current folder, where the window's lists start and the backup
// lands; two sets of three records each wait in it: folders "left" and "right".
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A window on the given aligner; the test keeps access to its dialogs.
    std::unique_ptr<Form1> MakeWindow(Form1::AlignerFactory factory);
    std::unique_ptr<Form1> MakeWindow(std::shared_ptr<Aligner> aligner);
    QString Folder(const QString& name) const { return QDir(work_.path()).filePath(name); }
    // Points the window's two sides at two folders, as a user would through the folder lists.
    void ChooseFolders(Form1& form, const QString& left, const QString& right);
    // Clicks Calculate and waits until the run has finished.
    void CalculateAndWait(Form1& form);

    template <typename T>
    static T* Find(const Form1& form, const char* name) {
        T* widget = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QTemporaryDir work_;
    QString previousFolder_;
    ScriptedDialogs* dialogs_ = nullptr;
};

}  // namespace kadrel::ui::test

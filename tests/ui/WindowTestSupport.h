#pragma once
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "align/Aligner.h"
#include "ui/Form1.h"
#include "ui/ReportBox.h"
#include "ui/WindowDialogs.h"

namespace kadrel::ui::test {

// Answers the window's dialogs from queues and remembers what it was told.
class ScriptedDialogs : public WindowDialogs {
public:
    std::deque<std::optional<QString>> openAnswers, saveAnswers;
    int openAsked = 0;
    QStringList errors, warnings;

    std::optional<QString> OpenSequenceFile(QWidget*) override { ++openAsked; return Next(openAnswers); }
    std::optional<QString> SaveReportFile(QWidget*) override { return Next(saveAnswers); }
    void ShowError(QWidget*, const QString& message) override { errors.append(message); }
    void ShowWarning(QWidget*, const QString& message) override { warnings.append(message); }

private:
    static std::optional<QString> Next(std::deque<std::optional<QString>>& answers);
};

// The same usable pair for every call: 10 sites, one transversion. A `missing` message plays a
// t_coffee that is not installed.
class FixedAligner : public Aligner {
public:
    AlignedPair Align(std::string_view, std::string_view, std::string_view, std::stop_token) override {
        return {"ACGTACGTAC", "ACGTACGTTC", 10, "s1", "s2", true, ""};
    }
    std::string CheckAvailable() const override { return missing; }
    std::string missing;
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

void WriteFile(const QString& path, const std::string& content);
std::string ReadFile(const QString& path);
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 20000);

// Each test works in its own current folder, where the window's lists start and the backup
// lands; two sets of three records each wait in it: folders "left" and "right".
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a window on the given aligner, in place of any earlier one.
    void Open(Form1::AlignerFactory factory);
    void Open(std::shared_ptr<Aligner> aligner);
    QString Folder(const QString& name) const { return QDir(work_.path()).filePath(name); }
    // Points the two sides at two folders, as a user would through the folder lists.
    void ChooseFolders(const QString& left, const QString& right);
    void Click(const QString& name);
    // Clicks Calculate and waits until the run has finished.
    void CalculateAndWait();
    QString Status() const;

    template <typename T = QWidget>
    T* Find(const QString& name) const {
        T* widget = form_->findChild<T*>(name);
        if (widget == nullptr) throw std::runtime_error("no control " + name.toStdString());
        return widget;
    }

    QTemporaryDir work_;
    QString previousFolder_;
    std::unique_ptr<Form1> form_;
    ReportBox* box_ = nullptr;
    ScriptedDialogs* dialogs_ = nullptr;
};

}  // namespace kadrel::ui::test

#include "WindowTestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "ui/FolderList.h"
#include "ui/ReportBox.h"

namespace kadrel::ui::test {
namespace {

std::optional<QString> TakeFirst(std::deque<std::optional<QString>>& answers) {
    std::optional<QString> answer;
    if (!answers.empty()) {
        answer.swap(answers.front());
        answers.pop_front();
    }
    return answer;
}

}  // namespace

std::optional<QString> ScriptedDialogs::OpenSequenceFile(QWidget*) {
    ++openAsked;
    return TakeFirst(openAnswers);
}

std::optional<QString> ScriptedDialogs::SaveReportFile(QWidget*) {
    ++saveAsked;
    return TakeFirst(saveAnswers);
}

AlignedPair FixedPair() {
    AlignedPair pair;
    pair.first = "ACGTACGTAC";
    pair.second = "ACGTACGTTC";
    pair.length = 10;
    pair.firstLabel = "s1";
    pair.secondLabel = "s2";
    pair.usable = true;
    return pair;
}

AlignedPair GatedAligner::Align(std::string_view, std::string_view, std::string_view, std::stop_token stop) {
    std::unique_lock lock(mutex_);
    ++waiting_;
    changed_.notify_all();
    const bool permitted = changed_.wait(lock, stop, [this] { return permits_ > 0; });
    --waiting_;
    if (!permitted) {
        sawStop_ = true;
        AlignedPair stopped;
        stopped.failure = "stopped";
        return stopped;
    }
    --permits_;
    return FixedPair();
}

void GatedAligner::Permit(int pairs) {
    std::lock_guard lock(mutex_);
    permits_ += pairs;
    changed_.notify_all();
}

int GatedAligner::Waiting() const {
    std::lock_guard lock(mutex_);
    return waiting_;
}

bool GatedAligner::SawStop() const {
    std::lock_guard lock(mutex_);
    return sawStop_;
}

void WriteFile(const QString& path, const std::string& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(content.data(), static_cast<qint64>(content.size())), static_cast<qint64>(content.size()));
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

std::string WithoutBanner(const std::string& report) {
    const auto end = report.find("\r\n");
    return end == std::string::npos ? std::string() : report.substr(end + 2);
}

std::string ShownText(const Form1& form) {
    const auto* box = form.findChild<const ReportBox*>(QStringLiteral("RichTextBox2"));
    return box->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

void WindowTest::SetUp() {
    ASSERT_TRUE(work_.isValid());
    previousFolder_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work_.path()));
    for (const char* side : {"left", "right"}) {
        ASSERT_TRUE(QDir(work_.path()).mkdir(QString::fromLatin1(side)));
        for (const char* name : {"a.fas", "b.fas", "c.fas"}) {
            const std::string record = std::string(">") + side + "_" + name + "\r\nACGTACGTAC\r\n";
            WriteFile(QDir(Folder(QString::fromLatin1(side))).filePath(QString::fromLatin1(name)), record);
        }
    }
}

void WindowTest::TearDown() { QDir::setCurrent(previousFolder_); }

std::unique_ptr<Form1> WindowTest::MakeWindow(Form1::AlignerFactory factory) {
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    auto form = std::make_unique<Form1>(std::move(dialogs), std::move(factory));
    form->show();
    return form;
}

std::unique_ptr<Form1> WindowTest::MakeWindow(std::shared_ptr<Aligner> aligner) {
    return MakeWindow([aligner] { return std::make_unique<SharedAligner>(aligner); });
}

void WindowTest::ChooseFolders(Form1& form, const QString& left, const QString& right) {
    ASSERT_TRUE(Find<FolderList>(form, "Dir1")->SetPath(left));
    ASSERT_TRUE(Find<FolderList>(form, "Dir2")->SetPath(right));
}

void WindowTest::CalculateAndWait(Form1& form) {
    QSignalSpy finished(&form, &Form1::RunFinished);
    Find<QPushButton>(form, "Command1")->click();
    ASSERT_TRUE(WaitFor([&] { return finished.count() > 0; })) << "the run did not finish";
}

}  // namespace kadrel::ui::test

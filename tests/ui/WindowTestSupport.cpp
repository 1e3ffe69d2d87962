#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "ui/FolderList.h"

namespace kadrel::ui::test {

std::optional<QString> ScriptedDialogs::Next(std::deque<std::optional<QString>>& answers) {
    std::optional<QString> answer;
    if (!answers.empty()) {
        answer.swap(answers.front());
        answers.pop_front();
    }
    return answer;
}

void WriteFile(const QString& path, const std::string& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(content.data(), static_cast<qint64>(content.size())), static_cast<qint64>(content.size()));
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) { return QTest::qWaitFor(condition, timeoutMs); }

void WindowTest::SetUp() {
    ASSERT_TRUE(work_.isValid());
    previousFolder_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work_.path()));
    for (const QString side : {"left", "right"}) {
        ASSERT_TRUE(QDir(work_.path()).mkdir(side));
        for (const QString name : {"a.fas", "b.fas", "c.fas"})
            WriteFile(QDir(Folder(side)).filePath(name), (">" + side + "_" + name + "\r\nACGTACGTAC\r\n").toStdString());
    }
}

void WindowTest::TearDown() {
    form_.reset();  // its run ends before the folder it works in goes
    QDir::setCurrent(previousFolder_);
}

void WindowTest::Open(Form1::AlignerFactory factory) {
    form_.reset();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    form_ = std::make_unique<Form1>(std::move(dialogs), std::move(factory));
    form_->show();
    box_ = Find<ReportBox>("RichTextBox2");
}

void WindowTest::Open(std::shared_ptr<Aligner> aligner) {
    Open([aligner] { return std::make_unique<SharedAligner>(aligner); });
}

void WindowTest::ChooseFolders(const QString& left, const QString& right) {
    ASSERT_TRUE(Find<FolderList>("Dir1")->SetPath(left));
    ASSERT_TRUE(Find<FolderList>("Dir2")->SetPath(right));
}

void WindowTest::Click(const QString& name) { Find<QAbstractButton>(name)->click(); }

void WindowTest::CalculateAndWait() {
    QSignalSpy finished(form_.get(), &Form1::RunFinished);
    Click("Command1");
    ASSERT_TRUE(WaitFor([&] { return finished.count() > 0; })) << "the run did not finish";
}

QString WindowTest::Status() const { return Find<QLabel>("Label1")->text(); }

}  // namespace kadrel::ui::test

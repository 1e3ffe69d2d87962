#include "Form1.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <deque>

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace lutrane {
namespace {

namespace fs = std::filesystem;

// Answers the open dialog from a queue, as a user would.
struct AnsweringDialog : OpenFileDialog {
    explicit AnsweringDialog(std::deque<std::optional<QString>>& queue) : answers(queue) {}
    std::optional<QString> ChooseFile(QWidget*, const QString& title, const QString&) override {
        titles.push_back(title);
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<QString>>& answers;
    QStringList titles;
};

TEST(LutraneWindow, SplitsTheChosenFileNextToItAndSaysSo) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "lutrane_window_tests";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    TempFolder temp;
    const fs::path input = temp.path() / "set.txt";
    WriteBytes(input, "; two records\r\n>a\r\nACGT\r\nGG\r\n>b c\r\nTT\r\n");
    const QString chosen = QString::fromStdString(input.string());
    std::deque<std::optional<QString>> answers = {std::nullopt, chosen, chosen};
    auto dialog = std::make_unique<AnsweringDialog>(answers);
    const AnsweringDialog& asked = *dialog;
    Form1 window(std::move(dialog));
    window.show();
    auto* button = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    auto* label = window.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_TRUE(button && label);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lutrane"));
    EXPECT_EQ(button->text(), QStringLiteral("Split"));

    // Cancelled: nothing written, nothing said.
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(label->text(), QString());
    EXPECT_EQ(FilesUnder(temp.path()).size(), 1U);
    EXPECT_EQ(asked.titles, QStringList{QStringLiteral("Open File")});

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(label->text(), QStringLiteral("2 files written to ") + QString::fromStdString(temp.path().string()));
    EXPECT_EQ(ReadBytes(temp.path() / "a.fas"), ">a\r\nACGT\r\nGG\r\n");
    EXPECT_EQ(ReadBytes(temp.path() / "b c.fas"), ">b c\r\nTT\r\n");

    // Splitting again would replace what the first split wrote: refused, and said in the window.
    WriteBytes(temp.path() / "a.fas", "edited by the user");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(label->text().startsWith(QString::fromStdString((temp.path() / "a.fas").string() + " already exists")))
        << label->text().toStdString();
    EXPECT_EQ(ReadBytes(temp.path() / "a.fas"), "edited by the user");
    EXPECT_TRUE(answers.empty());
}

}  // namespace
}  // namespace lutrane

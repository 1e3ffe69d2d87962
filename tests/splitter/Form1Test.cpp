#include "Form1.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <deque>

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace lutrane {
namespace {

using kadrel::test::FilesUnder;
using kadrel::test::ReadText;

// Answers the open dialog from a queue, as a user would.
struct AnsweringDialog : OpenFileDialog {
    std::optional<QString> ChooseFile(QWidget*, const QString&, const QString&) override {
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<QString>> answers;
};

TEST(LutraneWindow, SplitsTheChosenFileNextToItAndSaysSo) {
    const kadrel::test::TempFolder temp;
    const QString chosen = QString::fromStdString(
        temp.Write("set.txt", "; two records\r\n>a\r\nACGT\r\nGG\r\n>b c\r\nTT\r\n").string());
    auto dialog = std::make_unique<AnsweringDialog>();
    dialog->answers = {std::nullopt, chosen, chosen};
    const AnsweringDialog& asked = *dialog;
    Form1 window(std::move(dialog));
    window.show();
    auto* button = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    auto* label = window.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_TRUE(button && label);

    // Cancelled: nothing written, nothing said.
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(label->text(), QString());
    EXPECT_EQ(FilesUnder(temp.Path()).size(), 1U);

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(label->text(), QStringLiteral("2 files written to ") + QString::fromStdString(temp.Path().string()));
    EXPECT_EQ(ReadText(temp / "a.fas"), ">a\r\nACGT\r\nGG\r\n");
    EXPECT_EQ(ReadText(temp / "b c.fas"), ">b c\r\nTT\r\n");

    // Splitting again would replace what the first split wrote: refused, and said in the window.
    temp.Write("a.fas", "edited by the user");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(label->text().startsWith(QString::fromStdString((temp / "a.fas").string() + " already exists")))
        << label->text().toStdString();
    EXPECT_EQ(ReadText(temp / "a.fas"), "edited by the user");
    EXPECT_TRUE(asked.answers.empty());
}

}  // namespace
}  // namespace lutrane

#include "SplitterWindow.h"

#include <QLabel>
#include <QPushButton>
#include <deque>

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace lutrane {
namespace {

// Answers the open dialog from a queue, as a user would.
struct AnsweringDialog : OpenFileDialog {
    std::optional<QString> ChooseFile(QWidget*, const QString&, const QString&) override {
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<QString>> answers;
};

// Cancelled, the window writes and says nothing; it splits next to the chosen file and says where;
// splitting again would replace what the first split wrote, and it says why it refuses.
TEST(LutraneWindow, SplitsTheChosenFileNextToItAndSaysSo) {
    const kadrel::test::TempFolder temp;
    const QString chosen = QString::fromStdString(temp.Write("set.txt", ">a\r\nAC\r\n>b c\r\nTT\r\n").string());
    auto dialog = std::make_unique<AnsweringDialog>();
    dialog->answers = {std::nullopt, chosen, chosen};
    SplitterWindow window(std::move(dialog));
    auto* button = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    auto* label = window.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_TRUE(button && label);
    const auto split = [&] { return button->click(), label->text().toStdString(); };

    EXPECT_EQ(split(), "");
    EXPECT_EQ(kadrel::test::FilesUnder(temp.Path()).size(), 1U);
    EXPECT_EQ(split(), "2 files written to " + temp.Path().string());
    EXPECT_EQ(kadrel::test::ReadText(temp / "b c.fas"), ">b c\r\nTT\r\n");
    EXPECT_EQ(split().find((temp / "a.fas").string() + " already exists"), 0U);
}

}  // namespace
}  // namespace lutrane

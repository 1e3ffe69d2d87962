// The window's one box of warnings: a run with thousands of them must not grow it without end.
#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include <gtest/gtest.h>

#include "ui/QtWindowDialogs.h"

namespace kadrel::ui::test {
namespace {

QMessageBox* WarningBox(const QWidget& parent) {
    const auto boxes = parent.findChildren<QMessageBox*>();
    return boxes.size() == 1 ? boxes.front() : nullptr;
}

TEST(WarningBox, KeepsTwentyWarningsThenSaysTheRestAreLeftOut) {
    const struct {
        int warnings;
        int lines;
        bool leftOut;
    } cases[] = {{1, 1, false}, {19, 19, false}, {20, 20, false}, {21, 21, true}, {60, 21, true}};
    for (const auto& c : cases) {
        QWidget parent;
        QtWindowDialogs dialogs;
        for (int k = 1; k <= c.warnings; ++k) dialogs.ShowWarning(&parent, QStringLiteral("warning %1").arg(k));
        QMessageBox* box = WarningBox(parent);
        ASSERT_NE(box, nullptr) << c.warnings;
        const QStringList lines = box->text().split(u'\n');
        EXPECT_EQ(lines.size(), c.lines) << c.warnings;
        EXPECT_EQ(lines.front(), QStringLiteral("warning 1")) << c.warnings;
        EXPECT_EQ(lines.back() == QStringLiteral("(further warnings left out)"), c.leftOut) << c.warnings;
    }
}

}  // namespace
}  // namespace kadrel::ui::test

// The window's library check: `kadrel gap` on set 1, shown as the command line writes it.
#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScatterSeries>
#include <QTabWidget>
#include <QTableWidget>

#include <gtest/gtest.h>

#include "WindowTest.h"
#include "ui/LibraryCheckWindow.h"

namespace kadrel::ui::test {
namespace {

QList<QStringList> Tsv(const QString& text) {
    QList<QStringList> rows;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) rows.append(line.split('\t'));
    return rows;
}

// The bundled library checked in the window and by `kadrel gap` with the same choices: the same
// species table to the cell, the gap plot's points are the table's species with a gap value, the
// sweep plot's bars are the sweep table's false positives and negatives, and the summary line is
// the command line's.
TEST_F(WindowTest, LibraryCheckEqualsKadrelGap) {
    struct Case {
        const char* option;
        bool textbook;
        QStringList arguments;
    };
    const std::vector<Case> cases = {
        {"Option2", true, {"-m", "k2p"}},
        {"Option7", false, {"-m", "none", "--classic"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        Open();
        dialogs_->openAnswers = {GAP_LIBRARY};
        Click("Check1");
        Click(c.option);
        Find<QCheckBox>("CheckTextbook")->setChecked(c.textbook);
        auto* aligner = Find<QComboBox>("AlignerChoice");
        aligner->setCurrentIndex(aligner->findData(QStringLiteral("builtin")));
        QSignalSpy finished(form_.get(), &MainWindow::RunFinished);
        Click("CommandCheck");
        EXPECT_FALSE(Find<QPushButton>("CommandCheck")->isEnabled());  // until the check ends
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() > 0; }, 60000)) << "the check did not finish";
        ASSERT_TRUE(dialogs_->errors.isEmpty()) << dialogs_->errors.join("\n").toStdString();
        EXPECT_TRUE(Find<QPushButton>("CommandCheck")->isEnabled());
        EXPECT_TRUE(box_->ReportText().empty());  // a check writes no report
        auto* check = Find<LibraryCheckWindow>("LibraryCheckWindow");

        const QString sweepFile = QString::fromStdString((work_ / "sweep.tsv").string());
        QProcess gap;
        gap.start(KADREL_EXE, QStringList{"gap", GAP_LIBRARY, "-a", "builtin", "--no-backup", "--sweep", sweepFile} + c.arguments);
        ASSERT_TRUE(gap.waitForFinished(60000));
        const QList<QStringList> expected = Tsv(QString::fromUtf8(gap.readAllStandardOutput()));
        const QString closing = QString::fromUtf8(gap.readAllStandardError());
        ASSERT_GT(expected.size(), 2);

        const QTableWidget* table = check->SpeciesTable();
        ASSERT_EQ(table->rowCount() + 1, expected.size());
        ASSERT_EQ(table->columnCount(), expected[0].size());
        for (int column = 0; column < table->columnCount(); ++column)
            EXPECT_EQ(table->horizontalHeaderItem(column)->text(), expected[0][column]);
        QList<QPointF> species;
        for (int row = 0; row < table->rowCount(); ++row) {
            for (int column = 0; column < table->columnCount(); ++column)
                EXPECT_EQ(table->item(row, column)->text(), expected[row + 1][column]) << row << " " << column;
            const QStringList& cells = expected[row + 1];  // intra_max, nearest_distance
            if (cells[4] != "NA" && cells[6] != "NA") species.append(QPointF(cells[4].toDouble(), cells[6].toDouble()));
        }
        const auto* points = qobject_cast<QScatterSeries*>(check->GapPlot()->chart()->series().at(0));
        ASSERT_NE(points, nullptr);
        EXPECT_EQ(points->points(), species);

        const QList<QStringList> sweep = Tsv(QString::fromStdString(ReadText((work_ / "sweep.tsv").string())));
        const auto* bars = qobject_cast<QAbstractBarSeries*>(check->SweepPlot()->chart()->series().at(0));
        ASSERT_NE(bars, nullptr);
        ASSERT_EQ(bars->barSets().size(), 2);
        ASSERT_EQ(bars->barSets()[0]->count() + 1, sweep.size());
        for (int t = 1; t < sweep.size(); ++t) {
            EXPECT_EQ(bars->barSets()[0]->at(t - 1), sweep[t][2].toDouble()) << sweep[t][0].toStdString();
            EXPECT_EQ(bars->barSets()[1]->at(t - 1), sweep[t][3].toDouble()) << sweep[t][0].toStdString();
        }
        EXPECT_EQ(check->Histogram()->chart()->series().size(), 3);  // with the best threshold's line
        EXPECT_TRUE(closing.contains(check->Summary()->text())) << closing.toStdString();
        EXPECT_EQ(check->Tabs()->count(), 4);
    }
}

}  // namespace
}  // namespace kadrel::ui::test

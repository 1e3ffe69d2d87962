#include "ui/LibraryCheckWindow.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "calc/GapTables.h"
#include "ui/GapCharts.h"

namespace kadrel::ui {
namespace {

// The species table's text, as the command line writes it, cell by cell: what the window shows is
// what `kadrel gap --species` writes, to the digit.
QTableWidget* TableOf(const std::string& tsv, QWidget* parent) {
    QStringList lines = QString::fromStdString(tsv).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    auto* table = new QTableWidget(parent);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    if (lines.isEmpty()) return table;
    const QStringList titles = lines.takeFirst().split(QLatin1Char('\t'));
    table->setColumnCount(static_cast<int>(titles.size()));
    table->setHorizontalHeaderLabels(titles);
    table->setRowCount(static_cast<int>(lines.size()));
    for (int row = 0; row < lines.size(); ++row) {
        const QStringList cells = lines[row].split(QLatin1Char('\t'));
        for (int column = 0; column < cells.size() && column < titles.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    table->resizeColumnsToContents();
    return table;
}

QChartView* ViewOf(QChart* chart, const QString& name, QWidget* parent) {
    auto* view = new QChartView(chart, parent);  // the view owns its chart
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

}  // namespace

LibraryCheckWindow::LibraryCheckWindow(const GapAnalysis& analysis, const QString& title, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("LibraryCheckWindow"));
    setWindowTitle(QStringLiteral("Kadrel: library check of ") + title);
    const GapSweep sweep = SweepOf(analysis, DefaultSweepThresholds());
    summary_ = new QLabel(QString::fromStdString(GapSummaryText(analysis, sweep)), this);
    summary_->setObjectName(QStringLiteral("CheckSummary"));
    summary_->setWordWrap(true);
    table_ = TableOf(kadrel::SpeciesTable(analysis), this);
    table_->setObjectName(QStringLiteral("CheckSpecies"));
    views_[0] = ViewOf(MakeGapPlot(analysis), QStringLiteral("CheckGapPlot"), this);
    views_[1] = ViewOf(MakeGapHistogram(analysis, sweep.BestThreshold()), QStringLiteral("CheckHistogram"), this);
    views_[2] = ViewOf(MakeSweepPlot(sweep.counts), QStringLiteral("CheckSweepPlot"), this);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("CheckTabs"));
    tabs_->addTab(table_, QStringLiteral("Species"));
    tabs_->addTab(views_[0], QStringLiteral("Gap plot"));
    tabs_->addTab(views_[1], QStringLiteral("Histogram"));
    tabs_->addTab(views_[2], QStringLiteral("Sweep"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(tabs_, 1);
    layout->addLayout(row);
    resize(900, 640);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

}  // namespace kadrel::ui

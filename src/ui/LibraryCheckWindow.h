#pragma once
#include <QDialog>
#include <QString>

#include "calc/GapAnalysis.h"

class QLabel;
class QTableWidget;
class QTabWidget;

QT_BEGIN_NAMESPACE
class QChartView;
QT_END_NAMESPACE

namespace kadrel::ui {

// The library check of one set, as `kadrel gap` gives it: the species table, the gap plot, the
// histogram and the sweep plot, one tab each, with the run's summary line above them.
class LibraryCheckWindow : public QDialog {
    Q_OBJECT
public:
    // `title` names the set and the distance ("library.fas, K2P (published formulas)").
    LibraryCheckWindow(const GapAnalysis& analysis, const QString& title, QWidget* parent);

    QTabWidget* Tabs() const { return tabs_; }
    QTableWidget* SpeciesTable() const { return table_; }
    QChartView* GapPlot() const { return views_[0]; }
    QChartView* Histogram() const { return views_[1]; }
    QChartView* SweepPlot() const { return views_[2]; }
    QLabel* Summary() const { return summary_; }

private:
    QTabWidget* tabs_ = nullptr;
    QTableWidget* table_ = nullptr;
    QChartView* views_[3] = {};
    QLabel* summary_ = nullptr;
};

}  // namespace kadrel::ui

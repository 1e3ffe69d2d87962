#pragma once
#include <QDialog>

#include "calc/ReportDistances.h"
#include "ui/WindowDialogs.h"

class QDoubleSpinBox;

QT_BEGIN_NAMESPACE
class QChartView;
QT_END_NAMESPACE

namespace kadrel::ui {

// The picture of a report's distances, redrawn as the threshold changes; Save writes it as SVG
// or PNG.
class ChartWindow : public QDialog {
    Q_OBJECT
public:
    ChartWindow(ReportDistances report, WindowDialogs& dialogs, QWidget* parent);
    QChartView* View() const { return view_; }

private:
    void Redraw();
    void Save();

    ReportDistances report_;
    WindowDialogs& dialogs_;
    QChartView* view_ = nullptr;
    QDoubleSpinBox* threshold_ = nullptr;
};

}  // namespace kadrel::ui

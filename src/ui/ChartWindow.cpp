#include "ui/ChartWindow.h"

#include <QChart>
#include <QChartView>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/DistanceChart.h"

namespace kadrel::ui {

ChartWindow::ChartWindow(ReportDistances report, WindowDialogs& dialogs, QWidget* parent)
    : QDialog(parent), report_(std::move(report)), dialogs_(dialogs) {
    setObjectName(QStringLiteral("ChartWindow"));
    setWindowTitle(QStringLiteral("Kadrel: distances"));
    view_ = new QChartView(this);
    view_->setObjectName(QStringLiteral("ChartView"));
    view_->setRenderHint(QPainter::Antialiasing);
    threshold_ = new QDoubleSpinBox(this);
    threshold_->setObjectName(QStringLiteral("ChartThreshold"));
    threshold_->setRange(0, 100);
    threshold_->setDecimals(3);
    threshold_->setSingleStep(0.005);
    threshold_->setValue(kDefaultThreshold);
    auto* label = new QLabel(QStringLiteral("Threshold:"), this);
    label->setBuddy(threshold_);
    auto* save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("ChartSave"));
    save->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(threshold_);
    row->addStretch(1);
    row->addWidget(save);
    row->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(row);
    resize(900, 620);

    connect(threshold_, &QDoubleSpinBox::valueChanged, this, &ChartWindow::Redraw);
    connect(save, &QPushButton::clicked, this, &ChartWindow::Save);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    Redraw();
}

void ChartWindow::Redraw() {
    QChart* old = view_->chart();
    view_->setChart(MakeDistanceChart(report_, threshold_->value()));
    delete old;
}

void ChartWindow::Save() {
    const std::optional<QString> path = dialogs_.SaveChartFile(this);
    if (!path) return;
    if (const QString problem = SaveDistanceChart(report_, threshold_->value(), *path); !problem.isEmpty())
        dialogs_.ShowError(this, problem);
}

}  // namespace kadrel::ui

#pragma once

#include "ReportChart.h"

#include <QWidget>

class QChartView;

namespace granwise {

// The chart beside a report window's grid: the bar chart of the column the user last clicked
// and the button "保存图片" that saves it as a PNG picture.
class ReportChartView : public QWidget {
    Q_OBJECT
public:
    explicit ReportChartView(QWidget *parent = nullptr);

    void showChart(const ReportChartData &data);
    const ReportChartData &data() const { return m_data; }
    QChartView *chartView() const { return m_view; }

    // "保存图片": asks where (proposing the title, the column and the date), saves, says so.
    void saveImage();

private:
    QChartView *m_view = nullptr;
    ReportChartData m_data;
};

} // namespace granwise

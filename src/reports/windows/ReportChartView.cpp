#include "ReportChartView.h"

#include "store/Clock.h"
#include "ui/ErrorBox.h"
#include "ui/FileDialogs.h"
#include "ui/Prompter.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

const QString SavePicture = u"保存图片"_s;
const QString PngFilter = u"PNG 图片 (*.png)"_s;
const QString SaveChartTitle = u"保存图表"_s;
const QString PngSuffix = u"png"_s;
const QString Notice = u"提示"_s;
const QString Saved = u"保存成功！"_s;

} // namespace

ReportChartView::ReportChartView(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"ChartPanel"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *tools = new QHBoxLayout;
    auto *save = new QPushButton(SavePicture, this);
    save->setObjectName(u"BitBtnChartSave"_s);
    save->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, [this] { saveImage(); });
    tools->addStretch(1);
    tools->addWidget(save);
    layout->addLayout(tools);

    m_view = new QChartView(this);
    m_view->setObjectName(u"ChartView1"_s);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumWidth(360);
    layout->addWidget(m_view, 1);
    showChart({});
}

void ReportChartView::showChart(const ReportChartData &data)
{
    m_data = data;
    QChart *old = m_view->chart();
    m_view->setChart(buildReportChart(data)); // the view owns the new chart, not the old one
    delete old;
}

void ReportChartView::saveImage()
{
    guarded(this, [this] {
        const QString path = FileDialogs::current().saveFileName(
            this, SaveChartTitle, proposedChartName(m_data, Clock::current().now().date()), PngFilter, PngSuffix);
        if (path.isEmpty())
            return;
        saveReportChart(m_data, path);
        inform(this, Notice, Saved);
    });
}

} // namespace granwise

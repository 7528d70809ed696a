#include "ReportChartView.h"

#include "store/Clock.h"
#include "store/CommonTexts.h"
#include "ui/ErrorBox.h"
#include "ui/FileDialogs.h"
#include "ui/Prompter.h"
#include "ui/WindowChrome.h"

#include <QChart>
#include <QChartView>
#include <QPushButton>
#include <QVBoxLayout>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

const QString SavePicture = u"保存图片"_s;
const QString PngFilter = u"PNG 图片 (*.png)"_s;
const QString SaveChartTitle = u"保存图表"_s;
const QString PngSuffix = u"png"_s;

} // namespace

ReportChartView::ReportChartView(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"ChartPanel"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    QPushButton *save = chrome::button(u"BitBtnChartSave"_s, SavePicture, this);
    connect(save, &QPushButton::clicked, this, [this] { saveImage(); });
    layout->addLayout(chrome::buttonBar({save}, chrome::Align::Right));

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
        inform(this, texts::Hint, texts::SaveSucceeded);
    });
}

} // namespace granwise

#pragma once

#include "reports/frame/ReportSession.h"
#include "store/AppContext.h"

#include <QDialog>
#include <QVector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace granwise {

class FrozenHeadGrid;
class ReportChartView;

// The report window every statistical table is shown in: the tool panel with "保存表格" and
// "返  回" (and, in selectable windows, the province box, the prefecture box and "统计"), the
// report grid and the menu "返回". Its objectName is the class name of its table's window
// (TFrmb1_3 …); everything it computes or saves comes from the table's definition. "打印" and
// "导出PDF" put the grid on paper; the regional and summary tables with a chart show it beside
// the grid on "图表".
class ReportWindow : public QDialog {
    Q_OBJECT
public:
    ReportWindow(const ReportDefinition &definition, const AppContext &context, QWidget *parent = nullptr);

    const ReportGrid &grid() const { return m_session.grid(); }
    const ReportDefinition &definition() const { return m_session.definition(); }
    // The row last clicked or selected; 0 when none.
    int highlightedRow() const { return m_highlightedRow; }

    // The operations behind the controls.
    void ComboBox2Change(); // the province box changed: refill the prefecture box
    void BitBtn3Click();    // "统计"
    void BitBtn1Click();    // "保存表格"
    void BitBtnPrintClick(); // "打印": the print preview of the grid
    void BitBtnPdfClick();   // "导出PDF"
    void BitBtnChartClick(); // "图表": shows or hides the chart beside the grid

protected:
    void showEvent(QShowEvent *event) override; // FormShow: the caption
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void buildControls();
    void showGrid();
    void paintRow(int row, const QColor &color);
    void highlightRow(int row, bool byClick); // AdvStringGrid1ClickCell / AdvStringGrid1SelectCell
    void placeUnitCaption();                   // also re-places the header patches
    void fillPrefectureBox();
    void refreshChart();

    AppLocations m_locations; // where the table's template is read
    ReportSession m_session;
    FrozenHeadGrid *m_grid = nullptr;
    QComboBox *m_provinceBox = nullptr;
    QComboBox *m_prefectureBox = nullptr;
    QComboBox *m_titleBox = nullptr;
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    QPushButton *m_computeButton = nullptr;
    QPushButton *m_printButton = nullptr;
    QPushButton *m_pdfButton = nullptr;
    QPushButton *m_chartButton = nullptr;
    ReportChartView *m_chart = nullptr; // tables with a chart only
    int m_chartColumn = 1;              // the figure column last clicked
    QLabel *m_unitCaption = nullptr;
    QVector<QWidget *> m_patches;
    int m_highlightedRow = 0;
};

} // namespace granwise

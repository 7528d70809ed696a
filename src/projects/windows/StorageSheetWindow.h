#pragma once

#include "projects/StorageSheet.h"

#include "store/AppContext.h"

#include <QDialog>
#include <QHash>

class QComboBox;
class QLabel;
class QLineEdit;

namespace granwise {

// The storage-facility sheet ("粮油仓储设施项目基本情况表"): how many projects of a selection there
// are by category, ownership, construction nature and progress, and the sums of all their
// investment and scale figures, on the entry form's figure tables. It never writes to the
// database; "保存表格" saves what it shows into its template.
class TFrmInput_Tj : public QDialog {
    Q_OBJECT
public:
    explicit TFrmInput_Tj(const AppContext &context, QWidget *parent = nullptr);

    // What the window shows now (the figure fields may have been typed over).
    StorageSheet shown() const;
    const QString &year() const { return m_year; }

    void ComboBox2Change(); // province changed: fill the prefecture list
    void ComboBox3Change(); // prefecture changed: fill the county list
    void BitBtn1Click();    // 统计, and a click on the title
    void BitBtn6Click();    // 保存表格
    void BitBtnPrintClick(); // 打印: the print preview of the sheet as shown
    void BitBtnPdfClick();   // 导出PDF: the sheet as shown, into a PDF file

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AppContext m_context;
    void FormCreate();
    void buildWindow();
    QWidget *buildFilters();
    QWidget *buildCountLines();
    void display(const StorageSheet &sheet);

    QHash<QString, QLineEdit *> m_figures; // objectName -> figure field
    QHash<QString, QLabel *> m_lines;      // objectName -> count, new-start or land line
    QVector<QComboBox *> m_filters;        // in the order of storageFilterColumns()
    QLabel *m_title = nullptr;
    QWidget *m_page = nullptr; // what the scroll box shows
    QString m_year;
};

// "粮油仓储设施项目基本情况表" of the main menu: opens the sheet modally.
void openStorageFacilitySheet(QWidget *parent, const AppContext &context);

} // namespace granwise

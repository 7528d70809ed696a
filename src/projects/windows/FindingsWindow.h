#pragma once

#include "store/AppContext.h"

#include <QDialog>
#include <QStringList>
#include <QVector>
#include <functional>

class QComboBox;
class QLabel;
class QTableWidget;

namespace granwise {

// One line of a list of findings about stored projects: the cells shown, the project's key
// and the field to correct.
struct FindingLine {
    QStringList cells;
    QString enterpriseName;
    QString projectName;
    QString focusColumn;
};

// A list of findings about projects ("校验结果", "疑似异常"): filters on chosen columns, a double
// click opens the project in the entry form for correction and then lists the findings again,
// "保存" writes the lines shown as a workbook.
class FindingsWindow : public QDialog {
    Q_OBJECT
public:
    struct Setup {
        QString caption;
        QStringList headings;
        QVector<int> filterColumns;                   // columns with a filter box
        std::function<QVector<FindingLine>()> load;   // the findings now
        // Writes the lines with these indexes (those shown) into a workbook at the path.
        std::function<void(const QString &path, const QVector<int> &lines)> save;
        std::function<QString(int shown, int all)> summary;
        QString defaultFileName;
        QString savedMessage; // %1: the path
    };
    FindingsWindow(const AppContext &context, Setup setup, QWidget *parent = nullptr);

    // The indexes of the lines the filters let through.
    QVector<int> shownLines() const { return m_shown; }
    QComboBox *filter(int column) const;
    void openLine(int gridRow);
    void saveShown();

private:
    void reload();
    void fillFilters();
    void applyFilters();

    AppContext m_context;
    Setup m_setup;
    QVector<FindingLine> m_lines;
    QVector<int> m_shown;
    QVector<QComboBox *> m_filters;
    QLabel *m_summary = nullptr;
    QTableWidget *m_grid = nullptr;
};

} // namespace granwise

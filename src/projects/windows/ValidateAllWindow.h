#pragma once

#include "projects/ValidateAll.h"

#include "store/AppContext.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace granwise {

// The projects "全部校验" found failing: enterprise, project, rule and message, one line each. A
// double click opens the project in the entry form with the focus on the field to correct;
// when the form closes, every project is validated again and the list shows what still fails.
class TFrmCheckAll : public QDialog {
    Q_OBJECT
public:
    TFrmCheckAll(const AppContext &context, ValidateAllResult result, QWidget *parent = nullptr);

    const ValidateAllResult &result() const { return m_result; }

    // A double click on grid row `row` (0 = the first failing project).
    void AdvStringGrid1DblClick(int row);

private:
    void buildWindow();
    void showResult();

    AppContext m_context;
    ValidateAllResult m_result;
    QLabel *m_summary = nullptr;
    QTableWidget *m_grid = nullptr;
};

} // namespace granwise

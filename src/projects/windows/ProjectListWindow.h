#pragma once

#include "projects/ProjectListQuery.h"
#include "projects/ProjectStore.h"

#include "store/AppContext.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;
class QTableView;

namespace granwise {

class ProjectListModel;

// The project list ("粮食流通基础设施建设投资统计表维护"): one line per project, newest first,
// filtered by a few classifications or a free condition; adds, edits and deletes projects.
// Adding or editing opens the entry form on top of the list. When the form saves or returns, the
// list shows afresh, as it opens, and marks the project saved; when the form is closed otherwise,
// the list closes too. The chosen row belongs to the list window.
class TFrmList1 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmList1(const AppContext &context, QWidget *parent = nullptr);
    ~TFrmList1() override;

    // Fills the list with the projects the filter lets through. On a database error the list
    // keeps its content (the error is shown) and false is returned.
    bool ini(const ListFilter &filter = {});
    // Fills the list with a free condition joined to the list's own ("建设_平房仓>?", values
    // bound in order), as the query definition's "确    定" does.
    bool applyCondition(const QString &condition, const QVariantList &values = {});

    ProjectListModel *model() const { return m_model; }
    const AppContext &context() const { return m_context; }
    // The grid row last clicked or chosen (0: none, or the heading).
    int currentRow() const { return m_currentRow; }

    void BitBtn4Click();     // 添加
    void BitBtn1Click();     // 修改, and a double click on the grid
    void BitBtn3Click();     // 删除
    void BitBtn2Click();     // 查询
    void BitBtndefineClick(); // 自定义查询: the query definition window on this list
    // 全部校验: validates every project, stores the outcome and lists the projects that fail.
    void BitBtn6Click();
    // A click or keyboard choice of grid row r (0 = heading).
    void AdvStringGrid1ClickCell(int gridRow);

private:
    AppContext m_context;
    // The filter emptied, the provinces present in the province filter, every project listed:
    // the list as it opens, and again when the entry form has saved or returned.
    void FormCreate();
    void buildWindow();
    void openEntryForm(const SaveTarget &target);
    // Marks the first row of the project with this key, as a click on it would.
    void selectProject(const QString &projectName, const QString &enterpriseName);
    void sortByHeading(int column);

    ProjectListModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QComboBox *m_province = nullptr;
    QVector<QPair<QString, QWidget *>> m_filterInputs; // column -> input, in filter order
    int m_currentRow = 0;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace granwise

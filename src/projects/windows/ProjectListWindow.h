#pragma once

#include "projects/ProjectListQuery.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;
class QTableView;

namespace granwise {

class ProjectListModel;

// The project list ("粮食流通基础设施建设投资统计表维护"): one line per project, newest first,
// filtered by a few classifications or a free condition; adds, edits and deletes projects.
// Adding or editing opens the entry form on top of the list; the list closes when the form has
// closed (the form opens a fresh list when it saves or returns).
class TFrmList1 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmList1(QWidget *parent = nullptr);
    ~TFrmList1() override;

    // The list window opened most recently and still open; the query definition refills it.
    static TFrmList1 *current();

    // Fills the list with the projects the filter lets through. On a database error the list
    // keeps its content (the error is shown) and false is returned.
    bool ini(const ListFilter &filter = {});
    // Fills the list with a free condition joined to the list's own ("建设_平房仓>?", values
    // bound in order), as the query definition's "确    定" does.
    bool applyCondition(const QString &condition, const QVariantList &values = {});

    ProjectListModel *model() const { return m_model; }

    // Opens the query definition window for "自定义查询"; set by the query definition. While it
    // is empty the button does nothing.
    static inline std::function<void(QWidget *parent)> queryDefinition;

    void BitBtn4Click();     // 添加
    void BitBtn1Click();     // 修改, and a double click on the grid
    void BitBtn3Click();     // 删除
    void BitBtn2Click();     // 查询
    void BitBtndefineClick(); // 自定义查询
    // 全部校验: validates every project, stores the outcome and lists the projects that fail.
    void BitBtn6Click();
    // A click or keyboard choice of grid row r (0 = heading).
    void AdvStringGrid1ClickCell(int gridRow);

private:
    void FormCreate();
    void buildWindow();
    void openEntryForm();
    void sortByHeading(int column);

    ProjectListModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QComboBox *m_province = nullptr;
    QVector<QPair<QString, QWidget *>> m_filterInputs; // column -> input, in filter order
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace granwise

#pragma once

#include "projects/ProjectFormModel.h"
#include "store/AppContext.h"

#include <QDialog>
#include <QHash>
#include <functional>
#include <optional>

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QScrollArea;

namespace granwise {

struct ProjectColumn;

// The figure tables of the return ("投资情况（万元）" and "建设内容及规模"), laid out from the column
// catalogue; the entry form and the storage-facility sheet show the same tables. `makeField`
// makes the number field of each figure (objectName, derived or typed, parent).
using FigureFieldMaker = std::function<QLineEdit *(const QString &objectName, bool derived, QWidget *parent)>;
QWidget *investmentFigureTable(const FigureFieldMaker &makeField);
QWidget *scaleFigureTable(const FigureFieldMaker &makeField);
// A number field as the figure tables show it: right-aligned, 12 points; a derived one is bold,
// shaded and locked.
QLineEdit *styledFigureField(const QString &objectName, bool derived, QWidget *parent);
// Gives figure fields one width, their designed one or wider, at which the longest of their
// texts shows whole (sums at province scale run to ten digits and more).
void fitFigureFields(const QList<QLineEdit *> &fields);

// How the entry form was left.
struct EntryFormResult {
    std::optional<SavedProject> saved; // what "保存" wrote; the form closes once it has saved
    bool returned = false;             // left by "保存" or "返回" (not by the menu or the window's close)
};

// The entry form ("统计表输入"): the return of one project on one scrolling page. The values,
// lists and rules live in ProjectFormModel; the window builds the controls, shows the model,
// forwards what the user types and chooses, and shows how a save ended (message, the field to
// correct brought into sight, focused and painted yellow).
class TFrmInput1 : public QDialog {
    Q_OBJECT
public:
    // The form on the stored project `target` names (edit) or on a new one (add), opened as the
    // model opens: what the installation's level fixes is prefilled and locked, the project
    // loaded. A database failure is shown in the error box; the form stays usable.
    explicit TFrmInput1(const AppContext &context, const SaveTarget &target = {}, QWidget *parent = nullptr);

    // Opens the form on `target`, maximized and modal, and returns how it was left. With a focus
    // column (a correction), that column's field is brought into sight, focused and painted
    // yellow once the form shows.
    static EntryFormResult enter(QWidget *parent, const AppContext &context, const SaveTarget &target,
                                 const QString &focusColumn = {});

    const ProjectFormModel &model() const { return m_model; }
    const AppContext &context() const { return m_context; }
    // The project as the form shows it: column -> text (the region code as last looked up).
    ProjectValues values() const { return m_model.values(); }
    // The "投资合计" of investment group 0..2 as shown.
    QString totalText(int group) const { return m_model.totalText(group); }
    QString regionCode() const { return m_model.regionCode(); }
    // Off only while the form shows the model: the edits made then are not the user's.
    bool isEditing() const { return !m_showing; }
    const EntryFormResult &result() const { return m_result; }

    // The control bound to a project column (nullptr for a column without one).
    QWidget *controlOf(const QString &column) const;

    void BitBtn2Click();     // 保存
    void BitBtn6Click();     // 保存表格
    void BitBtnPrintClick(); // 打印: the print preview of the page as shown
    void BitBtnPdfClick();   // 导出PDF: the page as shown, into a PDF file
    void BitBtn5Click();     // 返回
    void N2Click();          // menu 返回 › 返回: close

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Building the page (ProjectFormLayout.cpp)
    void buildWindow();
    QWidget *buildTitle();
    QWidget *buildEnterpriseBlock();
    QWidget *buildFactsBlock();
    QWidget *buildInvestmentTable();
    QWidget *buildScaleTable();
    QWidget *buildFooter();
    QWidget *createControl(const QString &column, QWidget *parent);
    QLineEdit *createNumberField(const QString &objectName, bool derived, QWidget *parent);
    QLabel *captionLabel(const QString &text, QWidget *parent, const QString &objectName = {});
    void addRadioGroup(const QString &column, QWidget *parent, QLayout *layout);
    void registerInput(QWidget *input);

    // Binding the controls to the model (ProjectForm.cpp)
    void bindControls();
    void bindBox(QComboBox *box, const QString &column);
    // Runs an operation of the model on a user's edit (a failure goes to the error box), then
    // shows the model.
    void edit(const std::function<void()> &operation);
    void numberTyped(QLineEdit *field, const QString &column);
    void showModel();
    void showColumn(const ProjectColumn &column);
    // The field of a column scrolled into view and focused (painted yellow on request).
    void focusColumn(const QString &column, bool paintYellow);
    void Edit5Enter(QWidget *focused);
    void scrollByWheel(int angleDelta);
    void leave(bool returned);

    AppContext m_context;
    ProjectFormModel m_model;
    EntryFormResult m_result;
    QHash<QString, QWidget *> m_controls;           // objectName -> control
    QHash<QString, QButtonGroup *> m_radioGroups;   // column -> its buttons
    QList<QWidget *> m_inputs;                      // every control the focus highlight paints
    QList<QWidget *> m_companyWidgets;              // company and branch boxes with labels
    QScrollArea *m_scroll = nullptr;
    bool m_showing = false;
};

} // namespace granwise

#pragma once

#include "projects/ProjectValues.h"

#include <QDialog>
#include <QHash>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;

namespace granwise {

struct FormPreset;

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

// The entry form ("统计表输入"): the return of one project on one scrolling page. It prefills and
// locks what the installation's level fixes, loads the project the list selected, keeps the
// derived figures up to date while the user types, and saves (then opens a fresh list).
class TFrmInput1 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmInput1(QWidget *parent = nullptr);

    // The project as the form shows it: column -> text (the region code as last looked up).
    ProjectValues values() const;
    // The "投资合计" of investment group 0..2 as shown.
    QString totalText(int group) const;
    QString regionCode() const { return m_regionCode; }
    // On while the user types: number fields are filtered and the figures recomputed.
    bool isEditing() const { return m_editing; }

    // The control bound to a project column (nullptr for a column without one).
    QWidget *controlOf(const QString &column) const;

    // Opens the form on the stored project with this key, as the list's "修改" does, with the
    // focus on the field of `focusColumn` (painted yellow), and returns when it has closed. Saving
    // or "返回" closes it and goes back to the caller instead of opening a fresh list.
    static void openForCorrection(QWidget *parent, const QString &enterpriseName, const QString &projectName,
                                  const QString &focusColumn);

    void ini();  // recompute the derived figures
    void ini1(); // load the selected project
    void listcity();
    void listcounty();
    void ComboBox03Change(); // look up the region code of the county
    void ComboBox1Change();  // fill the branch list of the company
    void BitBtn2Click();     // 保存
    void BitBtn6Click();     // 保存表格
    void BitBtnPrintClick(); // 打印: the print preview of the page as shown
    void BitBtnPdfClick();   // 导出PDF: the page as shown, into a PDF file
    void BitBtn5Click();     // 返回: a fresh list, then close
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

    // Behaviour (ProjectForm.cpp)
    void FormCreate();
    void applyPreset(const FormPreset &preset);
    void setColumnText(const QString &column, const QString &text);
    QString columnText(const QString &column) const;
    void selectAffiliation(bool central);
    void RadioButton01Click(bool central);
    void setCompanyVisible(bool visible);
    void CheckBox1Click(bool checked);
    void numberEdited(QLineEdit *field);
    void zeroFillBlanks();
    void blankZeros();
    // The field of a column scrolled into view and focused (painted yellow on request).
    void focusColumn(const QString &column, bool paintYellow);
    void Edit5Enter(QWidget *focused);
    void scrollByWheel(int angleDelta);
    void openFreshList();

    QHash<QString, QWidget *> m_controls;           // objectName -> control
    QHash<QString, QButtonGroup *> m_radioGroups;   // column -> its buttons
    QList<QLineEdit *> m_numberFields;              // the 110 number fields
    QList<QWidget *> m_inputs;                      // every control the focus highlight paints
    QList<QWidget *> m_companyWidgets;              // company and branch boxes with labels
    QRadioButton *m_central = nullptr;
    QRadioButton *m_local = nullptr;
    QScrollArea *m_scroll = nullptr;
    bool m_editing = false;
    bool m_returnToCaller = false; // opened for a correction: no fresh list on save or return
    QString m_regionCode;
};

} // namespace granwise

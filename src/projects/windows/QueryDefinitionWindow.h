#pragma once

#include "projects/QueryDefinition.h"

#include <QDialog>
#include <memory>

class QButtonGroup;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace granwise {

class TFrmList1;

// The query definition window ("自定义查询器"): builds a free condition from the indicators of
// 查询指标 and applies it to the project list that opened it with "自定义查询".
class TFrmDefine : public QDialog {
    Q_OBJECT
public:
    // The window over `list`, which its "确    定" refills.
    explicit TFrmDefine(TFrmList1 &list);
    ~TFrmDefine() override;

    // The condition being built (nullptr when the indicators could not be read).
    const QueryDefinition *definition() const { return m_definition.get(); }

    void ListBox1Click(); // an indicator chosen
    void Edit1Change();   // the value typed
    void BitBtn2Click();  // 添加条件
    void connectiveClick(Connective connective); // 并且 / 或者
    void BitBtn1Click();  // 确    定

private:
    void FormCreate();
    void buildWindow();
    void showState();

    std::unique_ptr<QueryDefinition> m_definition;
    QListWidget *m_indicators = nullptr;
    QLineEdit *m_value = nullptr;
    QButtonGroup *m_operators = nullptr;
    QRadioButton *m_and = nullptr;
    QRadioButton *m_or = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_ok = nullptr;
    QPlainTextEdit *m_condition = nullptr;
    bool m_filtering = false;
    TFrmList1 &m_list;
};

} // namespace granwise

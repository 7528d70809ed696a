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

// The query definition window ("自定义查询器"): builds a free condition from the indicators of
// 查询指标 and applies it to the project list opened last. The project list opens it with
// "自定义查询".
class TFrmDefine : public QDialog {
    Q_OBJECT
public:
    explicit TFrmDefine(QWidget *parent = nullptr);
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
};

// Lets the project list's "自定义查询" open the query definition window. The main window calls
// it once at start.
void installQueryDefinition();

} // namespace granwise

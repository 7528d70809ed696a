#include "UsersDialog.h"

#include "store/Database.h"
#include "store/UserAccount.h"
#include "ui/ErrorBox.h"
#include "ui/Prompter.h"
#include "ui/WindowChrome.h"
#include "ui/WindowPlacement.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {
QLineEdit *yellowBox(QWidget *parent, const QString &name, bool masked)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setStyleSheet(u"QLineEdit { background: #ffff00; }"_s);
    if (masked)
        e->setEchoMode(QLineEdit::Password);
    return e;
}
} // namespace

TFrmusers::TFrmusers(QString databasePath, Mode mode, QWidget *parent)
    : QDialog(parent), m_databasePath(std::move(databasePath)), m_mode(mode)
{
    setObjectName(u"TFrmusers"_s);
    setWindowTitle(u"登录信息"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    setFixedSize(392, 238);
    centreOnScreen(*this);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    m_userName = yellowBox(this, u"Ediunit"_s, false);
    m_password = yellowBox(this, u"Edit1"_s, true);
    m_confirmation = yellowBox(this, u"Edit2"_s, true);

    auto *form = new QFormLayout;
    form->addRow(u"用 户 名"_s, m_userName);
    form->addRow(u"密    码"_s, m_password);
    form->addRow(u"密码确认"_s, m_confirmation);

    QPushButton *ok = chrome::button(u"BitBtn1"_s, u"确定"_s, this);
    ok->setDefault(true); // Enter in any box confirms, as in the login window
    QPushButton *cancel = chrome::button(u"BitBtn2"_s, u"取消"_s, this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 24);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);

    setTabOrder(m_userName, m_password);
    setTabOrder(m_password, m_confirmation);
    setTabOrder(m_confirmation, ok);
    setTabOrder(ok, cancel);

    connect(ok, &QPushButton::clicked, this, &TFrmusers::BitBtn1Click);
    connect(cancel, &QPushButton::clicked, this, &TFrmusers::BitBtn2Click);

    guarded(this, [this] {
        Connection connection(m_databasePath);
        m_userName->setText(account::userName(connection));
    });
}

bool TFrmusers::endsProgram() const
{
    return m_mode == Mode::FirstAccount;
}

void TFrmusers::BitBtn1Click()
{
    if (m_userName->text().trimmed().isEmpty()) {
        warn(this, u"操作提示"_s, u"请输入用户名！"_s);
        m_userName->setFocus();
        return;
    }
    if (m_password->text().isEmpty() || m_confirmation->text().isEmpty()) {
        warn(this, u"操作提示"_s, u"请填入密码！"_s);
        m_password->setFocus();
        return;
    }
    if (m_password->text() != m_confirmation->text()) {
        warn(this, u"操作提示"_s, u"密码和确认密码不一致，请重新填写！"_s);
        m_confirmation->setFocus();
        return;
    }
    if (m_mode == Mode::ChangeAccount) {
        const bool saved = guarded(this, [this] {
            Connection connection(m_databasePath);
            account::change(connection, m_userName->text(), m_password->text());
        });
        if (!saved)
            return;
        inform(this, u"操作提示"_s, u"内容修改成功！"_s);
        accept();
        return;
    }
    const bool created = guarded(this, [this] {
        Connection connection(m_databasePath);
        account::createFirst(connection, m_userName->text(), m_password->text());
    });
    if (!created)
        return;
    m_mode = Mode::ChangeAccount;
    accept();
}

void TFrmusers::BitBtn2Click()
{
    reject();
}

} // namespace granwise

#include "LoginDialog.h"

#include "Backdrop.h"
#include "store/Database.h"
#include "store/UserAccount.h"
#include "ui/ErrorBox.h"
#include "ui/Prompter.h"
#include "ui/WindowChrome.h"
#include "ui/WindowPlacement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {
QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &geometry, int pointSize,
              const QColor &color)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    l->setAttribute(Qt::WA_TranslucentBackground);
    QFont f = l->font();
    f.setPointSize(pointSize);
    f.setBold(pointSize > 12);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, color);
    l->setPalette(pal);
    return l;
}
} // namespace

Tlogin::Tlogin(QString databasePath, QWidget *parent) : QDialog(parent), m_databasePath(std::move(databasePath))
{
    setObjectName(u"Tlogin"_s);
    setWindowTitle(u"系统登录"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    setFixedSize(491, 292);
    centreOnScreen(*this);

    auto *backdrop = new Backdrop(this);
    backdrop->setGeometry(0, 0, 491, 292);

    // The product name, drawn twice with a one-pixel offset as a shadow.
    label(this, u"Label4"_s, u"Granwise"_s, QRect(42, 27, 400, 24), 18, QColor(0x20, 0x20, 0x20));
    label(this, u"Label1"_s, u"Granwise"_s, QRect(41, 26, 400, 24), 18, Qt::white);
    label(this, u"Label5"_s, u"（汇总版）"_s, QRect(41, 56, 400, 22), 12, Qt::white);
    label(this, u"Label3"_s, u"用户名"_s, QRect(120, 150, 60, 24), 11, Qt::black);
    label(this, u"Label2"_s, u"密     码"_s, QRect(120, 186, 60, 24), 11, Qt::black);

    m_userName = new QLineEdit(this);
    m_userName->setObjectName(u"Edit1"_s);
    m_userName->setGeometry(190, 150, 170, 24);
    m_userName->setEnabled(false);

    m_password = new QLineEdit(this);
    m_password->setObjectName(u"Edit2"_s);
    m_password->setGeometry(190, 186, 170, 24);
    m_password->setEchoMode(QLineEdit::Password);

    QPushButton *login = chrome::button(u"BitBtn1"_s, u"登录"_s, this);
    login->setGeometry(150, 232, 80, 28);
    QPushButton *exit = chrome::button(u"BitBtn2"_s, u"退出"_s, this);
    exit->setGeometry(260, 232, 80, 28);

    connect(login, &QPushButton::clicked, this, &Tlogin::Button1Click);
    connect(exit, &QPushButton::clicked, this, &Tlogin::BitBtn2Click);
    // Enter in the password box does what 登录 does.
    connect(m_password, &QLineEdit::returnPressed, this, &Tlogin::Button1Click);

    guarded(this, [this] {
        Connection connection(m_databasePath);
        m_userName->setText(account::userName(connection));
    });
    m_password->setFocus();
}

void Tlogin::Button1Click()
{
    if (m_password->text().isEmpty()) {
        warn(this, u"操作提示"_s, u"请输入密码！"_s);
        return;
    }
    bool ok = false;
    const bool looked = guarded(this, [&] {
        Connection connection(m_databasePath);
        ok = account::verify(connection, m_userName->text(), m_password->text());
    });
    if (!looked)
        return;
    if (ok) {
        m_endOnClose = false;
        accept();
        return;
    }
    warn(this, u"密码错误"_s, u"密码错误！"_s);
}

void Tlogin::BitBtn2Click()
{
    m_endOnClose = true;
    reject();
}

} // namespace granwise

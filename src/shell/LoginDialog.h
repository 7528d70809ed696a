#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace granwise {

// LoginDialog: asks for the password of the installation's account. Accepted after a successful
// login; any other way out (退出, the close button) rejects it, which ends the program.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoginDialog(QString databasePath, QWidget *parent = nullptr);

    // True until a login succeeded: closing the window then ends the program.
    bool endsProgramOnClose() const { return m_endOnClose; }

    void logIn(); // 登录
    void quit(); // 退出

private:
    QString m_databasePath;
    QLineEdit *m_userName;
    QLineEdit *m_password;
    bool m_endOnClose = true;
};

} // namespace granwise

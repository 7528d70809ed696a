#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace granwise {

// Tlogin: asks for the password of the installation's account. Accepted after a successful
// login; any other way out (退出, the close button) rejects it, which ends the program.
class Tlogin : public QDialog {
    Q_OBJECT
public:
    explicit Tlogin(QString databasePath, QWidget *parent = nullptr);

    // True until a login succeeded: closing the window then ends the program.
    bool endsProgramOnClose() const { return m_endOnClose; }

    void Button1Click(); // 登录
    void BitBtn2Click(); // 退出

private:
    QString m_databasePath;
    QLineEdit *m_userName;
    QLineEdit *m_password;
    bool m_endOnClose = true;
};

} // namespace granwise

#pragma once

#include <QDialog>

class QLineEdit;

namespace granwise {

// TFrmusers: creates the first account (glob::UserFormMode 0, at start-up) or changes the
// account (mode 1, from the menu). Passwords are stored as hashes, so the window opens with the
// user name and empty password boxes.
class TFrmusers : public QDialog {
    Q_OBJECT
public:
    explicit TFrmusers(QWidget *parent = nullptr);

    // True when the window closed at start-up without creating the account: the program ends.
    bool endsProgram() const;

    void BitBtn1Click(); // 确定
    void BitBtn2Click(); // 取消

private:
    QLineEdit *m_userName;
    QLineEdit *m_password;
    QLineEdit *m_confirmation;
};

} // namespace granwise

#pragma once

#include <QDialog>

class QLineEdit;

namespace granwise {

// TFrmusers: creates the first account (at start-up) or changes the account (from the menu). Passwords are stored as hashes, so the window opens with the
// user name and empty password boxes.
class TFrmusers : public QDialog {
    Q_OBJECT
public:
    enum class Mode { FirstAccount, ChangeAccount };
    TFrmusers(QString databasePath, Mode mode, QWidget *parent = nullptr);

    // True when the window closed at start-up without creating the account: the program ends.
    bool endsProgram() const;

    void BitBtn1Click(); // 确定
    void BitBtn2Click(); // 取消

private:
    QString m_databasePath;
    Mode m_mode; // becomes ChangeAccount once the first account is made
    QLineEdit *m_userName;
    QLineEdit *m_password;
    QLineEdit *m_confirmation;
};

} // namespace granwise

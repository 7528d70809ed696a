#pragma once

#include "units/TaskInfoRules.h"

#include <QComboBox>

namespace granwise::taskinfo {

// A drop-down box the user can only choose from: every typed key is discarded. Its text is
// independent of its list, so a stored value shows even while the list is empty, and filling
// the list keeps the text. chosen() fires only on the user's choice, never when the program
// sets the text or the list.
class ChoiceBox : public QComboBox {
    Q_OBJECT
public:
    explicit ChoiceBox(QWidget *parent = nullptr);

    QString text() const { return currentText(); }
    void setText(const QString &text);
    QStringList choices() const;
    // Replaces the list (when it differs) and keeps the text.
    void setChoices(const QStringList &choices);
    // On: enabled, yellow; off: disabled, silver grey; fixed: disabled, yellow.
    void setState(BoxState state);

signals:
    void chosen(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace granwise::taskinfo

#pragma once

#include "store/Journal.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace granwise {

// "数据维护" › "操作记录": the journal, newest first; "撤销" undoes the chosen import after a
// question, or says why it cannot.
class JournalWindow : public QDialog {
    Q_OBJECT
public:
    explicit JournalWindow(QString databasePath, QWidget *parent = nullptr);

    const QVector<JournalEntryInfo> &entries() const { return m_entries; }
    void selectEntry(qint64 id);
    void undoSelected();

private:
    void reload();

    QString m_databasePath;
    QVector<JournalEntryInfo> m_entries; // newest first, as shown
    QTableWidget *m_grid = nullptr;
    QPushButton *m_undo = nullptr;
};

void openJournalWindow(QWidget *parent, const QString &databasePath);

} // namespace granwise

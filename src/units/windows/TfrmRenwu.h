#pragma once

#include "units/TaskInfoForm.h"

#include <QDialog>
#include <array>

class QPushButton;

namespace granwise {

namespace taskinfo {
class ChoiceBox;
}

// The task-information window ("任务信息"): the summarising office sets its filing year,
// affiliation, level and region or enterprise from lists and saves the record. The rules live
// in taskinfo::TaskInfoForm; this window binds them to its boxes.
//
// Boxes (objectNames): ComboBox2 year, ComboBox1 affiliation, ComboBox4 level, ComboBox01
// province, ComboBox02 prefecture, ComboBox03 county, ComboBox3 enterprise, ComboBox04 branch;
// buttons BitBtn1 "确定" (save) and BitBtn2 "退出" (close without saving).
//
// The window does not know the main window. After a successful save it emits saved() with the
// level just stored and closes (accepted); the main window connects to saved() and re-applies
// its menu rule for that level at once (the save variant of the rule).
class TfrmRenwu : public QDialog {
    Q_OBJECT
public:
    // Opens the window on the database at `databasePath`: fills the lists and shows the stored
    // record. A database failure is shown in the error box; the window stays usable.
    explicit TfrmRenwu(const QString &databasePath, QWidget *parent = nullptr);
    ~TfrmRenwu() override;

signals:
    // The record was written; level is its 汇总级别.
    void saved(const QString &level);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    taskinfo::ChoiceBox *box(taskinfo::Box which) const { return m_boxes[static_cast<size_t>(which)]; }
    // Runs one operation of the form (errors go to the error box) and shows the result.
    void run(void (taskinfo::TaskInfoForm::*operation)(const QString &), const QString &text);
    void showForm();
    void save();

    taskinfo::TaskInfoForm m_form;
    std::array<taskinfo::ChoiceBox *, taskinfo::BoxCount> m_boxes{};
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_exitButton = nullptr;
    bool m_centred = false;
};

} // namespace granwise

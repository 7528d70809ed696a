#pragma once

#include "NumberInput.h"
#include "ProjectSave.h"
#include "ProjectStore.h"
#include "ProjectValues.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <exception>
#include <optional>
#include <vector>

namespace granwise {

struct FormPreset;

// The project a save of the entry form wrote: its row and its key as the form named it.
struct SavedProject {
    qint64 id = -1;
    QString projectName;
    QString enterpriseName;
};

// What the entry form ("统计表输入") shows, without the window: the text of every project column,
// the lists its boxes offer, which columns take input, whether the company boxes show, and the
// investment totals; one operation per thing the user does. The window shows the model after
// each operation and forwards what the user types and chooses; a test drives it directly.
//
// Texts are as the form shows them: a figure (investment or scale) of 0 shows blank, a column of
// radio buttons holds the caption of the chosen one, the new-start box "是" or "否". Database
// failures of the operations throw Error and leave the form as far as the operation got.
class ProjectFormModel {
public:
    // A form on the project `target` names (edit) or a new project (add), with the database at
    // `databasePath`. It starts as the empty form shows: the first button of each radio column,
    // "地方企业", no figures. Nothing is read before open().
    ProjectFormModel(QString databasePath, SaveTarget target);

    // Opening the form: the province list, what the installation's summarising level fixes (from
    // the task information), the stored project when the target names one (the first row of the
    // key; nothing when there is none), then the branches of the company shown. A step that fails
    // is left out and the others go on; the failures come back in the order met.
    std::vector<std::exception_ptr> open();

    // A province chosen: the prefecture and county are emptied and the province's prefectures
    // listed (the county list emptied).
    void chooseProvince(const QString &province);
    // A prefecture chosen: the county is emptied and the prefecture's counties listed; a county
    // list that is not empty opens the county box, whatever the level fixed.
    void choosePrefecture(const QString &prefecture);
    // A county chosen or typed: the region code is looked up.
    void chooseCounty(const QString &county);
    // A company chosen: its branches are listed (the branch text stays). An empty company
    // changes no list.
    void chooseCompany(const QString &company);
    // Any other column the user sets: a text, the year, the branch, a radio button (a text that
    // names none of the column's buttons changes nothing), the new-start box (which locks the
    // previous year's investment row), the affiliation (a change of it shows the company boxes
    // for "中央企业" and hides them for "地方企业").
    void setText(const QString &column, const QString &text);
    // A number field typed in: the character where the text stops reading as a number is
    // removed, then the derived figures are recomputed and every figure of 0 shows blank.
    FilteredInput typeNumber(const QString &column, const QString &text);

    // The text shown for a column (empty for a column without a control).
    QString text(const QString &column) const { return m_values.value(column); }
    // The project as shown: every column but the bookkeeping ones, the region code as last
    // looked up.
    const ProjectValues &values() const { return m_values; }
    // The list a box offers: 省, 地市, 县, 公司, 分公司 and 年度.
    QStringList choices(const QString &column) const { return m_choices.value(column); }
    // Whether the column's control takes input (for 隶属关系: both buttons).
    bool isEnabled(const QString &column) const;
    bool companyVisible() const { return m_companyVisible; }
    // The "投资合计" of investment group 0..2 as shown.
    QString totalText(int group) const { return m_totals.value(group); }
    QString regionCode() const;
    // The id of the loaded project; empty for a new one.
    const QString &id() const { return m_id; }
    const SaveTarget &target() const { return m_target; }

    // "保存": the values shown with blank figures as 0 go through saveProject (required fields,
    // numbers, the question whether to validate, the validation, the row of the target). The
    // texts shown stay as they are. Database failures throw Error.
    SaveOutcome save(const ValidationQuestion &validate, const QDateTime &now);
    // The project the last successful save wrote.
    const std::optional<SavedProject> &saved() const { return m_saved; }

private:
    void applyPreset(const FormPreset &preset, std::vector<std::exception_ptr> &failures);
    void load(std::vector<std::exception_ptr> &failures);
    void listPrefectures();
    void listCounties();
    void lookUpRegionCode();
    void listBranches();
    void recompute();

    QString m_path;
    SaveTarget m_target;
    ProjectValues m_values;
    QHash<QString, QStringList> m_choices;
    QSet<QString> m_locked;
    QStringList m_totals;
    QString m_id;
    bool m_companyVisible = true;
    std::optional<SavedProject> m_saved;
};

} // namespace granwise

#pragma once

#include "TaskInfoLookups.h"
#include "TaskInfoRules.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace granwise::taskinfo {

// What the task-information window shows, without the window: the text, list and state of
// each box and the working region code, with one operation per user action. The window binds
// the boxes to it; a test drives it directly. Database failures throw Error and leave the
// form as far as the operation got.
class TaskInfoForm {
public:
    explicit TaskInfoForm(TaskInfoLookups lookups);

    // Fills the lists and shows the stored record (opening the window). The working region
    // code starts as "000000" whatever the record holds.
    void open();

    void chooseYear(const QString &year);
    // Refills the level list, switches the boxes by the affiliation and empties every text
    // below it.
    void chooseAffiliation(const QString &affiliation);
    // Applies the level's rule and empties the region texts; the working region code stays.
    void chooseLevel(const QString &level);
    // Working code := province code + "0000"; the prefecture list is refilled.
    void chooseProvince(const QString &province);
    // Working code := prefecture code (four characters) + "00"; the county list is refilled.
    void choosePrefecture(const QString &prefecture);
    // Working code := the county's code.
    void chooseCounty(const QString &county);
    // Refills the branch list from the enterprise's branch table; the branch text stays.
    void chooseCompany(const QString &company);
    // A branch choice runs the prefecture's lookup with whatever the prefecture box shows.
    void chooseBranch(const QString &branch);

    const QString &text(Box box) const { return at(box).text; }
    const QStringList &choices(Box box) const { return at(box).choices; }
    BoxState state(Box box) const { return m_states.of(box); }
    const BoxStates &states() const { return m_states; }
    const QString &regionCode() const { return m_regionCode; }

    // The eight texts as shown (the other columns empty).
    TaskInfo shown() const;
    // The first save check that fails, or nothing when the record may be saved.
    std::optional<SaveRefusal> saveRefusal() const;
    // The record a save writes.
    TaskInfo record() const { return recordToWrite(shown(), m_regionCode); }
    // Replaces the stored record by record() in one transaction: a failure keeps the previous
    // record. Call only when saveRefusal() is empty.
    void save() const;

private:
    struct BoxContent {
        QString text;
        QStringList choices;
    };
    BoxContent &at(Box box) { return m_boxes[static_cast<size_t>(box)]; }
    const BoxContent &at(Box box) const { return m_boxes[static_cast<size_t>(box)]; }
    void fillBranches(const QString &table);
    void lookUpPrefecture();

    TaskInfoLookups m_lookups;
    std::array<BoxContent, BoxCount> m_boxes;
    BoxStates m_states;
    QString m_regionCode;
};

} // namespace granwise::taskinfo

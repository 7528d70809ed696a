#include "TaskInfoForm.h"

#include "TaskInfoTexts.h"
#include "store/Database.h"

#include <utility>

namespace granwise::taskinfo {

using namespace Qt::StringLiterals;

TaskInfoForm::TaskInfoForm(TaskInfoLookups lookups) : m_lookups(std::move(lookups)), m_regionCode(text::NoRegionCode)
{
    at(Box::Year).text = text::DefaultYear;
    at(Box::Affiliation).choices = text::Affiliations;
    at(Box::Company).choices = text::Companies;
}

void TaskInfoForm::open()
{
    m_regionCode = text::NoRegionCode;
    at(Box::Year).choices = m_lookups.years();
    at(Box::Province).choices = m_lookups.provinces();
    if (const std::optional<TaskInfo> stored = m_lookups.record()) {
        // Only the texts: the prefecture, county and branch lists stay empty until a choice.
        at(Box::Year).text = stored->year;
        at(Box::Affiliation).text = stored->affiliation;
        at(Box::Level).text = stored->level;
        at(Box::Province).text = stored->province;
        at(Box::Prefecture).text = stored->prefecture;
        at(Box::County).text = stored->county;
        at(Box::Company).text = stored->company;
        at(Box::Branch).text = stored->branch;
    }
    at(Box::Level).choices = m_lookups.levels(text(Box::Affiliation));
    const LevelEffect effect = statesOnOpening(text(Box::Affiliation), text(Box::Level));
    m_states = effect.states;
    if (!effect.branchTable.isEmpty())
        fillBranches(effect.branchTable);
}

void TaskInfoForm::chooseYear(const QString &year)
{
    at(Box::Year).text = year;
}

void TaskInfoForm::chooseAffiliation(const QString &affiliation)
{
    at(Box::Affiliation).text = affiliation;
    at(Box::Level).choices = m_lookups.levels(affiliation);
    m_states = statesForAffiliation(affiliation, m_states);
    for (Box box : {Box::Level, Box::Province, Box::Prefecture, Box::County, Box::Company, Box::Branch})
        at(box).text.clear();
}

void TaskInfoForm::chooseLevel(const QString &level)
{
    at(Box::Level).text = level;
    const LevelEffect effect = levelChosen(text(Box::Affiliation), level, m_states);
    m_states = effect.states;
    if (effect.company)
        at(Box::Company).text = *effect.company;
    if (effect.emptyBranch)
        at(Box::Branch).text.clear();
    for (Box box : {Box::Province, Box::Prefecture, Box::County})
        at(box).text.clear();
    if (!effect.branchTable.isEmpty())
        fillBranches(effect.branchTable);
}

void TaskInfoForm::chooseProvince(const QString &province)
{
    at(Box::Province).text = province;
    for (Box box : {Box::Prefecture, Box::County}) {
        at(box).text.clear();
        at(box).choices.clear();
    }
    const QString code = m_lookups.provinceCode(province).left(2);
    m_regionCode = code + u"0000"_s;
    at(Box::Prefecture).choices = m_lookups.prefectures(code);
}

void TaskInfoForm::choosePrefecture(const QString &prefecture)
{
    at(Box::Prefecture).text = prefecture;
    lookUpPrefecture();
}

void TaskInfoForm::chooseBranch(const QString &branch)
{
    at(Box::Branch).text = branch;
    lookUpPrefecture();
}

void TaskInfoForm::lookUpPrefecture()
{
    // With no such prefecture (an empty prefecture box, say) the code is just "00".
    const QString code = m_lookups.prefectureCode(text(Box::Prefecture), text(Box::Province)).left(4);
    m_regionCode = code + u"00"_s;
    at(Box::County).choices.clear();
    at(Box::County).choices = m_lookups.counties(code);
}

void TaskInfoForm::chooseCounty(const QString &county)
{
    at(Box::County).text = county;
    m_regionCode = m_lookups.countyCode(text(Box::Province), text(Box::Prefecture), county);
}

void TaskInfoForm::chooseCompany(const QString &company)
{
    at(Box::Company).text = company;
    fillBranches(company + text::BranchTableSuffix);
}

void TaskInfoForm::fillBranches(const QString &table)
{
    at(Box::Branch).choices.clear();
    at(Box::Branch).choices = m_lookups.branches(table);
}

TaskInfo TaskInfoForm::shown() const
{
    TaskInfo info;
    info.year = text(Box::Year);
    info.affiliation = text(Box::Affiliation);
    info.level = text(Box::Level);
    info.province = text(Box::Province);
    info.prefecture = text(Box::Prefecture);
    info.county = text(Box::County);
    info.company = text(Box::Company);
    info.branch = text(Box::Branch);
    return info;
}

std::optional<SaveRefusal> TaskInfoForm::saveRefusal() const
{
    return firstFailingCheck(shown(), m_states);
}

void TaskInfoForm::save() const
{
    Connection connection(m_lookups.databasePath());
    writeTaskInfo(connection, record());
}

} // namespace granwise::taskinfo

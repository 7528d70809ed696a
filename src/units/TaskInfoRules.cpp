#include "TaskInfoRules.h"

#include "TaskInfoTexts.h"
#include "store/TextLength.h"

#include <algorithm>
#include <array>

namespace granwise::taskinfo {

namespace {

constexpr BoxState On = BoxState::On;
constexpr BoxState Off = BoxState::Off;
constexpr BoxState Fixed = BoxState::Fixed;

bool isCentral(const QString &affiliation)
{
    return affiliation == text::Central;
}

// A level whose text is two or three Chinese characters names a central enterprise itself
// ("中粮", "中储粮").
bool namesEnterprise(const QString &level)
{
    const int bytes = gbkByteLength(level);
    return bytes == 4 || bytes == 6;
}

// A central-enterprise level of any other length (four characters aside) names a branch-company
// table ("中储粮分公司"); the enterprise is the level less its last three characters.
bool namesBranchTable(const QString &level)
{
    const int bytes = gbkByteLength(level);
    return !level.isEmpty() && bytes != 4 && bytes != 6 && bytes != 8;
}

QString withoutLastThreeCharacters(const QString &level)
{
    return level.left(std::max<qsizetype>(0, level.size() - 3));
}

} // namespace

BoxState BoxStates::of(Box box) const
{
    switch (box) {
    case Box::Province:
        return province;
    case Box::Prefecture:
        return prefecture;
    case Box::County:
        return county;
    case Box::Company:
        return company;
    case Box::Branch:
        return branch;
    case Box::Year:
    case Box::Affiliation:
    case Box::Level:
        break;
    }
    return On;
}

void BoxStates::setRegion(BoxState provinceState, BoxState prefectureState, BoxState countyState)
{
    province = provinceState;
    prefecture = prefectureState;
    county = countyState;
}

LevelEffect statesOnOpening(const QString &affiliation, const QString &level)
{
    LevelEffect effect;
    BoxStates &s = effect.states;
    if (affiliation == text::Central) {
        s.setRegion(Off, Off, Off);
        s.company = On;
        s.branch = On;
    }
    if (affiliation == text::Local) {
        s.setRegion(On, On, On);
        s.company = Off;
        s.branch = Off;
    }
    if (level == text::ProvinceLevel)
        s.setRegion(On, Off, Off);
    if (level == text::PrefectureLevel)
        s.setRegion(On, On, Off);
    if (level == text::CountyLevel)
        s.setRegion(On, On, On);
    if (level == text::Corps) {
        s.setRegion(Off, Off, Off);
        s.company = Fixed;
        s.branch = Off;
    }
    if (level == text::CorpsBranch) {
        s.setRegion(Off, Off, Off);
        s.company = Fixed;
        s.branch = On;
        effect.branchTable = text::CorpsBranch;
    }
    if (isCentral(affiliation) && namesEnterprise(level)) {
        s.setRegion(Off, Off, Off);
        s.company = Fixed;
        s.branch = Off;
    }
    if (isCentral(affiliation) && namesBranchTable(level)) {
        s.setRegion(Off, Off, Off);
        s.company = Fixed;
        s.branch = On;
        effect.branchTable = level;
    }
    return effect;
}

BoxStates statesForAffiliation(const QString &affiliation, const BoxStates &current)
{
    BoxStates s = current;
    if (affiliation == text::Central) {
        s.setRegion(Off, Off, Off);
        s.company = On;
        s.branch = On;
    }
    if (affiliation == text::Local) {
        s.setRegion(On, On, On);
        s.company = Off;
        s.branch = Off;
    }
    return s;
}

LevelEffect levelChosen(const QString &affiliation, const QString &level, const BoxStates &current)
{
    LevelEffect effect;
    effect.states = current;
    BoxStates &s = effect.states;
    // The regional levels switch the enterprise and branch boxes off and empty them.
    const auto regional = [&](BoxState province, BoxState prefecture, BoxState county) {
        s.setRegion(province, prefecture, county);
        s.company = Off;
        s.branch = Off;
        effect.company = QString();
        effect.emptyBranch = true;
    };
    // The enterprise levels switch the region boxes off and fix the enterprise.
    const auto enterprise = [&](const QString &company, BoxState branch, const QString &branchTable) {
        s.setRegion(Off, Off, Off);
        s.company = Fixed;
        s.branch = branch;
        effect.company = company;
        effect.emptyBranch = true;
        if (!branchTable.isEmpty())
            effect.branchTable = branchTable;
    };

    if (level == text::ProvinceLevel)
        regional(On, Off, Off);
    if (level == text::PrefectureLevel)
        regional(On, On, Off);
    if (level == text::CountyLevel)
        regional(On, On, On);
    if (level == text::Corps)
        enterprise(text::Corps, Off, QString());
    if (level == text::CorpsBranch)
        enterprise(withoutLastThreeCharacters(level), On, text::CorpsBranch);
    if (isCentral(affiliation) && namesEnterprise(level))
        enterprise(level, Off, QString());
    if (isCentral(affiliation) && namesBranchTable(level))
        enterprise(withoutLastThreeCharacters(level), On, level);
    return effect;
}

std::optional<SaveRefusal> firstFailingCheck(const TaskInfo &shown, const BoxStates &states)
{
    struct Check {
        Box box;
        QString TaskInfo::*field;
        const QString *message;
        bool onlyWhenEnabled;
    };
    static const std::array<Check, 7> checks{{
        {Box::Year, &TaskInfo::year, &text::YearMissing, false},
        {Box::Level, &TaskInfo::level, &text::LevelMissing, false},
        {Box::Province, &TaskInfo::province, &text::ProvinceMissing, true},
        {Box::Prefecture, &TaskInfo::prefecture, &text::PrefectureMissing, true},
        {Box::County, &TaskInfo::county, &text::CountyMissing, true},
        {Box::Company, &TaskInfo::company, &text::CompanyMissing, true},
        {Box::Branch, &TaskInfo::branch, &text::BranchMissing, true},
    }};
    for (const Check &check : checks) {
        const bool enabled = states.of(check.box) == BoxState::On;
        if ((shown.*(check.field)).trimmed().isEmpty() && (enabled || !check.onlyWhenEnabled))
            return SaveRefusal{check.box, *check.message};
    }
    return std::nullopt;
}

QString storedRegionCode(const QString &level, const QString &workingCode)
{
    if (level == text::GrainReserve || level == text::Cofco || level == text::Hualiang || level == text::Textiles)
        return text::CentralEnterpriseCode;
    if (level == text::GrainReserveBranch)
        return text::GrainReserveBranchCode;
    if (level == text::Corps)
        return text::CorpsCode;
    return workingCode;
}

QString unitName(const TaskInfo &shown)
{
    const QString &level = shown.level;
    if (level == text::National || level == text::GrainReserve || level == text::Cofco || level == text::Hualiang
        || level == text::Textiles || level == text::Corps)
        return level;
    if (level == text::GrainReserveBranch)
        return shown.branch;
    if (level == text::ProvinceLevel)
        return shown.province;
    if (level == text::PrefectureLevel)
        return shown.prefecture;
    if (level == text::CountyLevel)
        return shown.county;
    return QString();
}

TaskInfo recordToWrite(const TaskInfo &shown, const QString &workingCode)
{
    TaskInfo record;
    record.year = shown.year;
    record.affiliation = shown.affiliation;
    record.level = shown.level;
    record.province = shown.province;
    record.prefecture = shown.prefecture;
    record.county = shown.county;
    record.company = shown.company;
    record.branch = shown.branch;
    record.regionCode = storedRegionCode(shown.level, workingCode);
    record.unitName = unitName(shown);
    return record;
}

} // namespace granwise::taskinfo

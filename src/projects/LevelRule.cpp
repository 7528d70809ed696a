#include "LevelRule.h"

#include "store/ProjectColumns.h"
#include "store/TextLength.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

class PresetBuilder {
public:
    void fill(const QString &column, const QString &text) { m_preset.texts.insert(column, text); }
    void lock(const QString &column) { m_preset.locked.insert(column); }
    void fillAndLock(const QString &column, const QString &text)
    {
        fill(column, text);
        lock(column);
    }
    // Choosing a button by program has the effect of a click, but only when the choice changes.
    void select(bool central)
    {
        if (central == m_preset.central)
            return;
        m_preset.central = central;
        m_preset.companyVisible = central;
    }
    void showCompany(bool visible) { m_preset.companyVisible = visible; }
    FormPreset &preset() { return m_preset; }

private:
    FormPreset m_preset;
};

void enterpriseLevel(PresetBuilder &b, const TaskInfo &task)
{
    b.fillAndLock(col::Province, task.province);
    b.fillAndLock(col::Prefecture, task.prefecture);
    b.fillAndLock(col::County, task.county);
    b.fillAndLock(col::EnterpriseCode, task.enterpriseCode);
    b.fillAndLock(col::EnterpriseName, task.filingUnit);
    b.fillAndLock(u"企业详细地址"_s, task.address);
    b.fillAndLock(u"邮政编码"_s, task.postcode);
    b.fillAndLock(u"填报人"_s, task.filledBy);
    b.fillAndLock(u"联系电话"_s, task.telephone);
    b.fillAndLock(u"审核人"_s, task.reviewer);
    b.fillAndLock(col::Year, task.year);
    const bool central = task.affiliation == CentralEnterprise;
    b.select(central);
    b.fillAndLock(col::Company, central ? task.company : QString());
    b.fillAndLock(col::Branch, central ? task.branch : QString());
    b.lock(col::Affiliation);
}

void regionalLevel(PresetBuilder &b, const TaskInfo &task, int depth)
{
    b.showCompany(false);
    b.select(false);
    b.lock(col::Affiliation);
    b.fillAndLock(col::Province, task.province);
    b.preset().fillPrefectures = true;
    if (depth < 2)
        return;
    b.fillAndLock(col::Prefecture, task.prefecture);
    b.preset().fillCounties = true;
    if (depth < 3)
        return;
    b.fillAndLock(col::County, task.county);
    b.preset().lookupRegionCode = true;
}

} // namespace

FormPreset levelPreset(const TaskInfo &task)
{
    PresetBuilder b;
    const QString &lvl = task.level;
    if (lvl == level::Enterprise) {
        enterpriseLevel(b, task);
    } else if (lvl == level::National) {
        b.select(false);
        b.showCompany(false);
    } else if (lvl == level::Corps) {
        b.fillAndLock(col::Company, task.company);
        b.select(false);
        b.lock(col::Affiliation);
    } else if (lvl == level::CorpsBranch) {
        b.showCompany(true);
        b.fillAndLock(col::Company, task.company);
        b.fillAndLock(col::Branch, task.branch);
        b.select(false);
        b.lock(col::Affiliation);
    } else if (lvl == level::Province) {
        regionalLevel(b, task, 1);
    } else if (lvl == level::Prefecture) {
        regionalLevel(b, task, 2);
    } else if (lvl == level::County) {
        regionalLevel(b, task, 3);
    }

    if (task.affiliation == CentralEnterprise) {
        b.showCompany(true);
        b.select(true);
        b.lock(col::Affiliation);
        b.fillAndLock(col::Company, task.company);
        // At the level of one group company (two or three characters) every branch stays open
        // to choice; below it the branch is fixed too.
        const int bytes = gbkByteLength(lvl);
        if (bytes != 4 && bytes != 6)
            b.fillAndLock(col::Branch, task.branch);
    }

    b.fillAndLock(col::Year, task.year);
    return b.preset();
}

} // namespace granwise

#include "projects/LevelRule.h"

#include <gtest/gtest.h>

namespace granwise {
namespace {

using namespace Qt::StringLiterals;

TaskInfo task(const QString &level, const QString &affiliation)
{
    TaskInfo t;
    t.level = level;
    t.affiliation = affiliation;
    t.year = u"2013"_s;
    t.province = u"河南省"_s;
    t.prefecture = u"郑州市"_s;
    t.county = u"中原区"_s;
    t.company = u"中储粮"_s;
    t.branch = u"中储粮河南分公司"_s;
    t.enterpriseCode = u"E01"_s;
    t.filingUnit = u"某粮库"_s;
    t.address = u"中原路1号"_s;
    t.postcode = u"450000"_s;
    t.filledBy = u"张三"_s;
    t.telephone = u"0371-1"_s;
    t.reviewer = u"李四"_s;
    return t;
}

QSet<QString> set(const QStringList &columns)
{
    return QSet<QString>(columns.begin(), columns.end());
}

struct LevelCase {
    QString level;
    QString affiliation;
    QStringList locked;
    bool central;
    bool companyVisible;
    bool prefectures;
    bool counties;
    bool regionCode;
};

TEST(LevelRule, EachLevelPrefillsLocksAndShowsItsFields)
{
    const QStringList enterpriseFields{u"省"_s,   u"地市"_s,   u"县"_s,     u"企业代码"_s, u"企业详细名称"_s,
                                       u"企业详细地址"_s, u"邮政编码"_s, u"填报人"_s, u"联系电话"_s, u"审核人"_s,
                                       u"年度"_s, u"公司"_s, u"分公司"_s, u"隶属关系"_s};
    const LevelCase cases[] = {
        {u"企业汇总"_s, LocalEnterprise, enterpriseFields, false, true, false, false, false},
        {u"企业汇总"_s, CentralEnterprise, enterpriseFields, true, true, false, false, false},
        {u"国家级汇总"_s, LocalEnterprise, {u"年度"_s}, false, false, false, false, false},
        {u"新疆兵团"_s, LocalEnterprise, {u"公司"_s, u"隶属关系"_s, u"年度"_s}, false, true, false, false, false},
        {u"新疆兵团分公司"_s, LocalEnterprise, {u"公司"_s, u"分公司"_s, u"隶属关系"_s, u"年度"_s}, false, true,
         false, false, false},
        {u"省级汇总"_s, LocalEnterprise, {u"省"_s, u"隶属关系"_s, u"年度"_s}, false, false, true, false, false},
        {u"地级汇总"_s, LocalEnterprise, {u"省"_s, u"地市"_s, u"隶属关系"_s, u"年度"_s}, false, false, true, true,
         false},
        {u"县级汇总"_s, LocalEnterprise, {u"省"_s, u"地市"_s, u"县"_s, u"隶属关系"_s, u"年度"_s}, false, false,
         true, true, true},
        // A group company's own level (two or three characters): the branch stays open.
        {u"中储粮"_s, CentralEnterprise, {u"公司"_s, u"隶属关系"_s, u"年度"_s}, true, true, false, false, false},
        {u"中粮"_s, CentralEnterprise, {u"公司"_s, u"隶属关系"_s, u"年度"_s}, true, true, false, false, false},
        {u"中储粮分公司"_s, CentralEnterprise, {u"公司"_s, u"分公司"_s, u"隶属关系"_s, u"年度"_s}, true, true,
         false, false, false},
        // The central rule applies over any level and shows the company boxes again.
        {u"国家级汇总"_s, CentralEnterprise, {u"公司"_s, u"分公司"_s, u"隶属关系"_s, u"年度"_s}, true, true,
         false, false, false},
        {QString(), QString(), {u"年度"_s}, false, true, false, false, false},
    };
    for (const LevelCase &c : cases) {
        SCOPED_TRACE((c.level + u' ' + c.affiliation).toStdString());
        const FormPreset preset = levelPreset(task(c.level, c.affiliation));
        EXPECT_EQ(preset.locked, set(c.locked));
        EXPECT_EQ(preset.central, c.central);
        EXPECT_EQ(preset.companyVisible, c.companyVisible);
        EXPECT_EQ(preset.fillPrefectures, c.prefectures);
        EXPECT_EQ(preset.fillCounties, c.counties);
        EXPECT_EQ(preset.lookupRegionCode, c.regionCode);
        EXPECT_EQ(preset.texts.value(u"年度"_s), u"2013"_s);
        for (const QString &column : c.locked) {
            if (column != u"隶属关系"_s) {
                EXPECT_TRUE(preset.texts.contains(column)) << column.toStdString();
            }
        }
    }
}

TEST(LevelRule, EnterpriseLevelTakesTheTaskRecordsTexts)
{
    const FormPreset local = levelPreset(task(u"企业汇总"_s, LocalEnterprise));
    EXPECT_EQ(local.texts.value(u"企业详细名称"_s), u"某粮库"_s);
    EXPECT_EQ(local.texts.value(u"企业详细地址"_s), u"中原路1号"_s);
    EXPECT_EQ(local.texts.value(u"县"_s), u"中原区"_s);
    EXPECT_EQ(local.texts.value(u"审核人"_s), u"李四"_s);
    EXPECT_EQ(local.texts.value(u"公司"_s), QString()); // a local enterprise has no company
    EXPECT_EQ(local.texts.value(u"分公司"_s), QString());

    const FormPreset central = levelPreset(task(u"企业汇总"_s, CentralEnterprise));
    EXPECT_EQ(central.texts.value(u"公司"_s), u"中储粮"_s);
    EXPECT_EQ(central.texts.value(u"分公司"_s), u"中储粮河南分公司"_s);

    const FormPreset county = levelPreset(task(u"县级汇总"_s, LocalEnterprise));
    EXPECT_EQ(county.texts.value(u"省"_s), u"河南省"_s);
    EXPECT_EQ(county.texts.value(u"县"_s), u"中原区"_s);
    EXPECT_FALSE(county.texts.contains(u"企业代码"_s));
}

} // namespace
} // namespace granwise

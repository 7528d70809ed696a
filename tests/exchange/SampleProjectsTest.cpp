#include "ExchangeFixture.h"
#include "exchange/SampleProjects.h"
#include "projects/Validation.h"
#include "store/Database.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"

#include <QRegularExpression>
#include <QSet>

using namespace granwise;
using namespace granwise::test;
using namespace Qt::StringLiterals;

namespace {

class SampleProjectsTest : public ExchangeTest {
protected:
    QVector<QVector<QVariant>> samples(quint64 seed, int count)
    {
        Connection connection(db->path());
        SampleProjects generator(connection, seed);
        QVector<QVector<QVariant>> rows;
        for (int i = 0; i < count; ++i)
            rows << generator.next();
        return rows;
    }
};

QString valueText(const QVariant &v)
{
    if (v.typeId() == QMetaType::Double)
        return formatNumber(v.toDouble());
    return v.toString();
}

} // namespace

TEST_F(SampleProjectsTest, TheSameSeedGivesTheSameProjects)
{
    EXPECT_EQ(samples(5, 40), samples(5, 40));
    EXPECT_NE(samples(5, 40), samples(6, 40));
}

TEST_F(SampleProjectsTest, EveryProjectPassesTheReturnsRules)
{
    const QStringList names = uploadColumnNames();
    Connection connection(db->path());
    Statement county = connection.prepare(u"select 代码 from county where 省 = ? and 市 = ? and 名称 = ?"_s);
    static const QRegularExpression sixDigits(u"^[0-9]{6}$"_s);
    QSet<QPair<QString, QString>> keys;
    QSet<QString> categories, companies;

    for (const QVector<QVariant> &row : samples(11, 400)) {
        ProjectValues values;
        for (int i = 0; i < names.size(); ++i)
            values.insert(names.at(i), valueText(row.at(i)));
        const auto failure = check(values);
        ASSERT_FALSE(failure) << failure->message.toStdString();

        for (const QString &required : {col::EnterpriseCode, col::EnterpriseName, col::Province, col::Prefecture,
                                        col::County, col::Year, col::ProjectName, u"填报人"_s, u"联系电话"_s,
                                        u"审核人"_s})
            ASSERT_FALSE(values.value(required).trimmed().isEmpty()) << required.toStdString();
        ASSERT_TRUE(sixDigits.match(values.value(u"邮政编码"_s)).hasMatch());
        ASSERT_EQ(values.value(col::ValidationStatus), u"1"_s);
        for (const ProjectColumn &c : projectColumns()) {
            if (!c.choices.isEmpty() && c.name != col::Company) {
                ASSERT_TRUE(c.choices.contains(values.value(c.name))) << c.name.toStdString();
            }
        }

        county.reset();
        county.bindAll({values.value(col::Province), values.value(col::Prefecture), values.value(col::County)});
        ASSERT_TRUE(county.next());
        ASSERT_EQ(county.text(0), values.value(col::RegionCode));

        const QString company = values.value(col::Company);
        if (values.value(col::Affiliation) == u"中央企业"_s) {
            const int branches = connection
                                     .scalar(u"select count(*) from \"%1分公司\" where 分公司 = ?"_s.arg(company),
                                             {values.value(col::Branch)})
                                     .toInt();
            ASSERT_EQ(branches, 1) << company.toStdString();
            companies << company;
        } else {
            ASSERT_TRUE(company.isEmpty() && values.value(col::Branch).isEmpty());
        }
        categories << values.value(col::Category);

        // The derived scale items are the sums the entry form computes.
        auto number = [&](const QString &name) { return row.at(names.indexOf(name)).toDouble(); };
        for (const QString &prefix : {u"建设_"_s, u"完成_"_s}) {
            EXPECT_EQ(formatNumber(number(prefix + u"新建仓容"_s)),
                      formatNumber(number(prefix + u"平房仓"_s) + number(prefix + u"立筒仓"_s) +
                                   number(prefix + u"浅圆仓"_s) + number(prefix + u"其他仓型"_s)));
            EXPECT_EQ(formatNumber(number(prefix + u"机械设备"_s)),
                      formatNumber(number(prefix + u"保粮设备"_s) + number(prefix + u"烘干设备"_s) +
                                   number(prefix + u"进出仓设备"_s) + number(prefix + u"地中衡"_s) +
                                   number(prefix + u"检化验设备"_s)));
        }
        const auto key = qMakePair(values.value(col::EnterpriseName), values.value(col::ProjectName));
        ASSERT_FALSE(keys.contains(key));
        keys << key;
    }
    EXPECT_EQ(categories.size(), findProjectColumn(col::Category)->choices.size());
    EXPECT_EQ(companies.size(), 4);
}

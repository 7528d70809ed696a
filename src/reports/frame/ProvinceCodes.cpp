#include "ProvinceCodes.h"

namespace granwise {

using namespace Qt::StringLiterals;

const QVector<ProvinceRow> &provinceRows()
{
    using enum GrainArea;
    static const QVector<ProvinceRow> rows = {
        {u"内蒙古"_s, u"15"_s, MainProducing}, {u"辽  宁"_s, u"21"_s, MainProducing},
        {u"吉  林"_s, u"22"_s, MainProducing}, {u"黑龙江"_s, u"23"_s, MainProducing},
        {u"河  北"_s, u"13"_s, MainProducing}, {u"江  苏"_s, u"32"_s, MainProducing},
        {u"安  徽"_s, u"34"_s, MainProducing}, {u"山  东"_s, u"37"_s, MainProducing},
        {u"河  南"_s, u"41"_s, MainProducing}, {u"江  西"_s, u"36"_s, MainProducing},
        {u"湖  北"_s, u"42"_s, MainProducing}, {u"湖  南"_s, u"43"_s, MainProducing},
        {u"四  川"_s, u"51"_s, MainProducing},
        {u"山  西"_s, u"14"_s, Balanced},      {u"广  西"_s, u"45"_s, Balanced},
        {u"重  庆"_s, u"50"_s, Balanced},      {u"贵  州"_s, u"52"_s, Balanced},
        {u"云  南"_s, u"53"_s, Balanced},      {u"西  藏"_s, u"54"_s, Balanced},
        {u"陕  西"_s, u"61"_s, Balanced},      {u"甘  肃"_s, u"62"_s, Balanced},
        {u"青  海"_s, u"63"_s, Balanced},      {u"宁  夏"_s, u"64"_s, Balanced},
        {u"新  疆"_s, u"65"_s, Balanced},      {u"新疆兵团"_s, QString(), Balanced},
        {u"北  京"_s, u"11"_s, MainConsuming}, {u"天  津"_s, u"12"_s, MainConsuming},
        {u"上  海"_s, u"31"_s, MainConsuming}, {u"浙  江"_s, u"33"_s, MainConsuming},
        {u"福  建"_s, u"35"_s, MainConsuming}, {u"广  东"_s, u"44"_s, MainConsuming},
        {u"海  南"_s, u"46"_s, MainConsuming},
    };
    return rows;
}

const QVector<CentralRow> &centralRows()
{
    static const QVector<CentralRow> rows = {
        {u"中储粮"_s, u"中储粮"_s},
        {u"中  粮"_s, u"中粮"_s},
        {u"中  纺"_s, u"中纺"_s},
    };
    return rows;
}

} // namespace granwise

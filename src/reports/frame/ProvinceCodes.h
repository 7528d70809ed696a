#pragma once

#include <QString>
#include <QVector>

namespace granwise {

// The grain areas the provinces are grouped in.
enum class GrainArea { MainProducing, Balanced, MainConsuming };

// One province row of the regional tables: its label as the tables show it (a two-character
// name with two blanks inside, "北  京"), the province part of the administrative division code
// (empty for 新疆兵团, which no project code reaches) and its grain area.
struct ProvinceRow {
    QString label;
    QString code;
    GrainArea area;
};

// The 32 province rows in table order: 13 main producing areas, 12 balanced areas (新疆兵团
// last), 7 main consuming areas.
const QVector<ProvinceRow> &provinceRows();

// The central enterprises listed separately: the row label and the text of 公司 it counts.
struct CentralRow {
    QString label;
    QString company;
};
const QVector<CentralRow> &centralRows();

// The texts of 隶属关系 that split local and central enterprises.
inline const QString LocalEnterprise = QStringLiteral("地方企业");
inline const QString CentralEnterprise = QStringLiteral("中央企业");

} // namespace granwise

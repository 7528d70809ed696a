#pragma once

#include "ReportGrid.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace granwise {

// One data row of a table whose rows are laid out in advance: its label and kind, the key by
// which query results are placed into it, and for a total row the rows it adds up.
struct PlannedRow {
    QString label;
    RowKind kind = RowKind::Item;
    QString provinceCode; // Province rows: the two-character code whose projects the row takes
    QString company;      // Central rows: the text of 公司 whose projects the row takes
    QVector<int> parts;   // total rows: indexes in the plan of the rows it adds up
};

// The data rows of a table in order. In a separate plan a province row counts only the
// projects of local enterprises and the central rows count the central enterprises; in a
// combined plan every project counts in the row of its province code.
struct RowPlan {
    QVector<PlannedRow> rows;
    bool separate = false;

    int indexOfProvince(const QString &code) const; // -1 when no row has that code
    int indexOfCompany(const QString &company) const;
};

// The labels some tables word differently.
struct RegionWording {
    QString grandTotal;
    QStringList combinedGroups; // the three group rows of the combined layout
    QStringList separateGroups; // the three group rows of the separate layout
    QString localSubtotal;
    QString centralSubtotal;

    // 合计, 1、主产区 / 2、产销平衡区 / 3、主销区 in both layouts, 一、地方小计, 二、中央企业小计.
    static RegionWording standard();
    RegionWording withGrandTotal(const QString &label) const;
    RegionWording withSeparateGroups(const QStringList &labels) const;
    RegionWording withCentralSubtotal(const QString &label) const;
};

enum class RegionLayout {
    Combined, // central enterprises not listed separately: 合计, three groups with their provinces
    Separate, // 合计, 一、地方小计 with the groups and provinces, 二、中央企业小计 with 中储粮, 中  粮, 中  纺
};

// The rows of a whole-country table: 36 rows in the combined layout, 41 in the separate one.
RowPlan RegionRowList(RegionLayout layout, const RegionWording &wording = RegionWording::standard());

} // namespace granwise

#pragma once

// Internals shared by the validation's source files.

#include "Validation.h"

#include <QStringView>

namespace granwise::validation {

inline const QString PostalCodeColumn = QStringLiteral("邮政编码");

// A number column the user types (investment and scale columns, the derived ones excluded),
// with its catalogue position; in form order.
struct FigureColumn {
    int position;
    QString name;
};
const QVector<FigureColumn> &typedFigureColumns();

// Catalogue positions of the columns in a "+"-joined list of names ("建设_罩棚+建设_储粮罩棚").
// An unknown name is an Error: the rule and derived-sum tables must match the catalogue.
QVector<int> positionsOf(QStringView joinedNames);

// Sets the derived scale columns (新建仓容, 机械设备, planned and completed) to the exact sums
// of their parts; the rules compare them rounded, as the form shows them.
void recomputeDerived(ProjectFigures &figures);

// The figure as the form shows a sum: rounded to 15 significant digits (the same value as
// roundTo15Digits gives, computed faster for checks over many projects).
double roundLikeTheForm(double value);

} // namespace granwise::validation

#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace granwise {

// A figure of the entry form that the form computes and the user never types: the sum of
// other figures.
struct DerivedFigure {
    QString control;      // objectName of the field showing the sum
    QString column;       // the project column it is stored in; empty for a display-only total
    QStringList sources;  // objectNames of the summed fields
};

// The three investment totals ("投资合计", display only) and the four derived scale figures
// (new storage capacity and machinery, planned and completed).
const QVector<DerivedFigure> &derivedFigures();

// The display-only "投资合计" field of investment group 0..2.
QString investmentTotalControl(int group);

// The form's number fields: the 107 investment and scale fields and the three totals. The land
// field is a number too but is neither blanked, zero-filled nor summed with these.
const QStringList &numericControls();

// Recomputes the derived figures from the texts of the number fields (textOf gives the text of
// a field by objectName). Returns objectName -> text in the program's number format.
QHash<QString, QString> recomputeFigures(const std::function<QString(const QString &control)> &textOf);

} // namespace granwise

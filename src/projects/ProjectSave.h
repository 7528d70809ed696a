#pragma once

#include "ProjectStore.h"
#include "ProjectValues.h"

#include <QVector>
#include <optional>

class QWidget;

namespace granwise {

// A field the save requires, in the order the save tests them.
struct RequiredField {
    QString column;
    QString message;
    bool paintYellow = true;
    bool centralOnly = false; // required only when "中央企业" is selected
};
const QVector<RequiredField> &requiredFields();

// The first required field that is empty (blanks around removed), or nothing.
std::optional<RequiredField> firstMissingField(const ProjectValues &values);

// The first number column (in table order) whose text cannot be stored, or nothing.
std::optional<QString> firstUnstorableNumber(const ProjectValues &values);

// How a save attempt ended. A refused save names the column whose control takes the focus.
struct SaveOutcome {
    bool saved = false;
    QString focusColumn;
    bool paintYellow = false;
    qint64 id = -1;
};

// The save of the entry form without the window: required fields, numbers that cannot be
// stored, the question whether to validate, the validation, then the row is written (status
// "1" when validated, "0" when not) with the clock's time. Refusals are told through the
// Prompter; a database failure is an Error.
SaveOutcome saveProject(QWidget *parent, const ProjectValues &values, const SaveTarget &target);

} // namespace granwise

#pragma once

#include "ProjectStore.h"
#include "ProjectValues.h"

#include <QDateTime>
#include <QVector>
#include <functional>
#include <optional>

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

// How a save attempt ended. A refused save says why (shown under "输入错误提示") and names the
// column whose control takes the focus.
struct SaveOutcome {
    bool saved = false;
    QString message;
    QString focusColumn;
    bool paintYellow = false;
    qint64 id = -1;
};

// Asked once the values can be stored: true when they are to be validated first.
using ValidationQuestion = std::function<bool()>;

// The save of the entry form without the window: required fields, numbers that cannot be
// stored, the question whether to validate, the validation, then the row is written into the
// database at `databasePath` (status "1" when validated, "0" when not) with the time `now`.
// A database failure is an Error.
SaveOutcome saveProject(const QString &databasePath, const ProjectValues &values, const SaveTarget &target,
                        const ValidationQuestion &validate, const QDateTime &now);

} // namespace granwise

#pragma once

#include "ProjectValues.h"

#include <QDateTime>
#include <optional>

namespace granwise {

class Connection;

// How the entry form opens: on a stored project to edit or on a new one to add.
enum class EntryMode { Edit = 1, Add = 2 };

// What the entry form is opened on and its save writes: the stored project with this key (edit)
// or a new one (add).
struct SaveTarget {
    EntryMode mode = EntryMode::Add;
    QString projectName;    // the key the form was opened on, not the names now on the form
    QString enterpriseName;
};

// The first row (in table order) with this key, every column as text (numbers in the program's
// number format, NULL as the empty text); nothing when there is no such row.
std::optional<ProjectValues> loadProject(Connection &connection, const QString &projectName,
                                         const QString &enterpriseName);

// Writes the form's values as one row of TZ_XIANGMU and returns its id. Edit mode updates the
// first row of the target key and inserts when there is none; add mode always inserts. Texts
// are stored as they stand; a blank number is stored as 0 and a text that is no number is an
// Error naming it (nothing is written then). A derived column (新建仓容, 机械设备) that disagrees
// with its parts is stored as they add up. `行政区划代码` is looked up from the province,
// prefecture and county; `修改时间` is `savedAt`; `校验状态` is `status`.
qint64 storeProject(Connection &connection, const ProjectValues &values, const SaveTarget &target,
                    const QString &status, const QDateTime &savedAt);

} // namespace granwise

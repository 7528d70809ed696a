#include "ProjectStore.h"

#include "RegionLists.h"
#include "store/Clock.h"
#include "store/Database.h"
#include "store/Journal.h"
#include "store/JournalTexts.h"
#include "store/NumberFormat.h"
#include "store/ProjectColumns.h"

#include <cmath>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

const QString kFindFirst =
    u"select id from TZ_XIANGMU where 项目名称 = ? and 企业详细名称 = ? order by id limit 1"_s;

QVariant storedValue(const ProjectColumn &column, const QString &text)
{
    if (!column.isNumber())
        return text;
    if (text.trimmed().isEmpty())
        return 0.0;
    const auto number = parseNumber(text);
    if (!number)
        throw Error(u"“%1”不是有效的数字，无法保存到“%2”。"_s.arg(text, column.name));
    return *number;
}

// The derived columns as their parts add up, where the values disagree with them (parts that
// cannot be stored are refused by storedValue).
ProjectValues withDerivedColumnsCorrected(const ProjectValues &values)
{
    ProjectValues corrected = values;
    for (const DerivedColumn &derived : derivedScaleColumns()) {
        double sum = 0;
        for (const QString &part : derived.parts)
            sum += parseNumber(values.value(part)).value_or(0.0);
        const std::optional<double> value =
            correctedDerivedValue(parseNumber(values.value(derived.column)).value_or(0.0), sum);
        if (!value)
            continue;
        if (!std::isfinite(*value))
            throw Error(u"“%1”各项之和超出了数字的范围，无法保存。"_s.arg(derived.column));
        corrected[derived.column] = formatNumber(*value);
    }
    return corrected;
}

} // namespace

std::optional<ProjectValues> loadProject(Connection &connection, const QString &projectName,
                                         const QString &enterpriseName)
{
    Statement st = connection.prepare(
        u"select * from TZ_XIANGMU where 项目名称 = ? and 企业详细名称 = ? order by id limit 1"_s);
    st.bindAll({projectName, enterpriseName});
    if (!st.next())
        return std::nullopt;
    ProjectValues values;
    for (int i = 0; i < st.columnCount(); ++i)
        values.insert(st.columnName(i), st.text(i));
    return values;
}

qint64 storeProject(Connection &connection, const ProjectValues &formValues, const SaveTarget &target,
                    const QString &status, const QDateTime &savedAt)
{
    const ProjectValues values = withDerivedColumnsCorrected(formValues);
    QStringList names;
    QVariantList bound;
    for (const ProjectColumn &column : projectColumns()) {
        if (column.kind == ColumnKind::AutoNumber)
            continue;
        names << column.name;
        if (column.name == col::ModifiedAt)
            bound << storedDateTime(savedAt);
        else if (column.name == col::ValidationStatus)
            bound << status;
        else if (column.name == col::RegionCode)
            bound << regionCode(connection, values.value(col::Province), values.value(col::Prefecture),
                                values.value(col::County));
        else
            bound << storedValue(column, values.value(column.name));
    }

    Transaction transaction(connection);
    QVariant id;
    if (target.mode == EntryMode::Edit)
        id = connection.scalar(kFindFirst, {target.projectName, target.enterpriseName});
    JournalEntry entry(connection, journal::texts::Save, {});
    if (id.isValid()) {
        entry.keepRows({id.toLongLong()});
        entry.setCounts(journal::texts::SaveReplaced);
        QStringList assignments;
        for (const QString &name : std::as_const(names))
            assignments << name + u" = ?"_s;
        connection.execute(u"update TZ_XIANGMU set %1 where id = ?"_s.arg(assignments.join(u", "_s)),
                           bound + QVariantList{id});
    } else {
        const QStringList marks(names.size(), u"?"_s);
        connection.execute(u"insert into TZ_XIANGMU (%1) values (%2)"_s.arg(names.join(u", "_s), marks.join(u", "_s)),
                           bound);
        id = connection.lastInsertRowId();
        entry.setCounts(journal::texts::SaveAdded);
    }
    entry.noteAdded(id.toLongLong());
    transaction.commit();
    return id.toLongLong();
}

} // namespace granwise

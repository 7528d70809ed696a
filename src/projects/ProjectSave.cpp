#include "ProjectSave.h"

#include "LevelRule.h"
#include "ProjectTexts.h"
#include "Validation.h"
#include "store/Database.h"
#include "store/ProjectColumns.h"
#include "NumberInput.h"

namespace granwise {

using namespace Qt::StringLiterals;

const QVector<RequiredField> &requiredFields()
{
    // The messages of the region boxes end with three blanks and that of the year with two.
    static const QVector<RequiredField> fields{
        {col::EnterpriseCode, u"请输入企业代码"_s, true, false},
        {col::EnterpriseName, u"请输入企业详细名称"_s, true, false},
        {col::Province, u"请输入企业所在省   "_s, true, false},
        {col::Prefecture, u"请输入企业所在市   "_s, true, false},
        {col::County, u"请输入企业所在县   "_s, true, false},
        {u"邮政编码"_s, u"请输入邮政编码"_s, false, false},
        {col::Company, u"请选择所属公司"_s, true, true},
        {col::Branch, u"请选择分公司"_s, true, true},
        {col::Year, u"请输入年度  "_s, true, false},
        {col::ProjectName, u"请输入项目名称"_s, true, false},
        {u"填报人"_s, u"请输入填报人"_s, false, false},
        {u"联系电话"_s, u"请输入联系电话"_s, false, false},
        {u"审核人"_s, u"请输入审核人"_s, false, false},
    };
    return fields;
}

std::optional<RequiredField> firstMissingField(const ProjectValues &values)
{
    const bool central = values.value(col::Affiliation) == CentralEnterprise;
    for (const RequiredField &field : requiredFields()) {
        if (field.centralOnly && !central)
            continue;
        if (values.value(field.column).trimmed().isEmpty())
            return field;
    }
    return std::nullopt;
}

std::optional<QString> firstUnstorableNumber(const ProjectValues &values)
{
    for (const ProjectColumn &column : projectColumns())
        if (column.isNumber() && !isStorableFigure(values.value(column.name)))
            return column.name;
    return std::nullopt;
}

SaveOutcome saveProject(const QString &databasePath, const ProjectValues &values, const SaveTarget &target,
                        const ValidationQuestion &validate, const QDateTime &now)
{
    const auto refuse = [](const QString &message, const QString &column, bool paint) {
        return SaveOutcome{false, message, column, paint, -1};
    };

    if (const auto missing = firstMissingField(values))
        return refuse(missing->message, missing->column, missing->paintYellow);
    if (const auto column = firstUnstorableNumber(values))
        return refuse(projects::texts::NotANumber.arg(*column, values.value(*column)), *column, true);

    QString status = u"0"_s;
    if (validate()) {
        status = u"1"_s;
        if (const auto failure = check(values))
            return refuse(failure->message, failure->focusColumn, true);
    }

    Connection connection(databasePath);
    const qint64 id = storeProject(connection, values, target, status, now);
    return SaveOutcome{true, {}, {}, false, id};
}

} // namespace granwise

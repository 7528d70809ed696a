#include "ProjectSheet.h"

#include "FormFigures.h"
#include "ProjectSheetTexts.h"
#include "ProjectTexts.h"
#include "store/ProjectColumns.h"

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

using Kind = ProjectSheetField::Kind;

QVector<ProjectSheetField> buildHeader()
{
    const struct {
        int row;
        int column;
        const char16_t *projectColumn;
        Kind kind;
    } fields[] = {
        {2, 2, u"企业代码", Kind::Plain},
        {3, 2, u"企业详细名称", Kind::Plain},
        {4, 2, u"企业详细地址", Kind::Address},
        {5, 2, u"邮政编码", Kind::Plain},
        {6, 2, u"隶属关系", Kind::Plain},
        {6, 7, u"年度", Kind::Year},
        {7, 3, u"项目类别", Kind::Plain},
        {8, 3, u"项目名称", Kind::Plain},
        {8, 8, u"项目批准单位", Kind::Plain},
        {8, 13, u"批准文号", Kind::Plain},
        {9, 3, u"项目单位性质", Kind::Plain},
        {9, 8, u"建设性质", Kind::Plain},
        {10, 3, u"项目进展", Kind::Plain},
        {10, 8, u"本年度开工项目", Kind::NewStart},
        {11, 3, u"项目施工单位", Kind::Plain},
        {11, 7, u"项目设计单位", Kind::Plain},
        {11, 10, u"项目监理单位", Kind::Plain},
        {11, 13, u"可用建设用地", Kind::Plain},
        {39, 4, u"填报人", Kind::Plain},
        {39, 7, u"联系电话", Kind::Plain},
        {39, 11, u"审核人", Kind::Plain},
    };
    QVector<ProjectSheetField> header;
    for (const auto &f : fields)
        header.append({f.row, f.column, QString::fromUtf16(f.projectColumn), f.kind, f.kind != Kind::Year});
    return header;
}

QVariant textCell(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant headerValue(const ProjectSheetField &field, const ProjectValues &values)
{
    const QString text = values.value(field.projectColumn);
    switch (field.kind) {
    case Kind::Address:
        return textCell(values.value(col::Province) + values.value(col::Prefecture) + values.value(col::County)
                        + text);
    case Kind::Year:
        return projects::texts::YearCaption + text;
    case Kind::NewStart:
        return text; // written only for a new start
    case Kind::Plain:
        break;
    }
    const ProjectColumn *column = findProjectColumn(field.projectColumn);
    return column && column->isNumber() ? figureCellValue(text) : textCell(text);
}

} // namespace

const QVector<ProjectSheetField> &projectSheetHeader()
{
    static const QVector<ProjectSheetField> header = buildHeader();
    return header;
}

QVector<SheetEntry> projectSheetEntries(const ProjectValues &values, const QStringList &totals)
{
    QVector<SheetEntry> entries;
    const QString yes = findProjectColumn(col::StartedThisYear)->choices.value(0);
    for (const ProjectSheetField &field : projectSheetHeader()) {
        if (field.kind == Kind::NewStart && values.value(field.projectColumn) != yes)
            continue;
        entries.append({field.row, field.column, headerValue(field, values)});
    }
    QHash<QString, QString> byControl;
    for (const ProjectColumn &c : projectColumns())
        if (!c.control.isEmpty())
            byControl.insert(c.control, values.value(c.name));
    for (int g = 0; g < investmentPrefixes().size(); ++g)
        byControl.insert(investmentTotalControl(g), totals.value(g));
    entries += figureEntries(kProjectSheetFigures, [&](const QString &control) { return byControl.value(control); });
    return entries;
}

} // namespace granwise

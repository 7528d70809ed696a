#include "UploadImport.h"

#include "ExchangeTexts.h"
#include "store/Error.h"

#include <QFileInfo>

namespace granwise {

using namespace Qt::StringLiterals;

namespace {

} // namespace

ImportOutcome importOutcome(const FileIntake &intake)
{
    ImportOutcome outcome;
    outcome.path = intake.path;
    outcome.imported = !intake.refused();
    outcome.reason = intake.refusal;
    outcome.result = {intake.rows, intake.replacedProjects()};
    outcome.intake = intake;
    return outcome;
}

namespace {

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

bool hasUploadFileExtension(const QString &path)
{
    return path.endsWith(u".xlsx"_s) || path.endsWith(u".xls"_s);
}

ImportResult TransIn(const QString &databasePath, const QString &path, Progress &progress)
{
    UploadIntake session(databasePath);
    const FileIntake intake = session.take(path, progress);
    if (intake.refused())
        throw Error(intake.refusal);
    session.commit();
    return {intake.rows, intake.replacedProjects()};
}

QVector<ImportOutcome> importUploadFileList(const QString &databasePath, const QStringList &paths,
                                            Progress &progress, ImportOptions options)
{
    QVector<ImportOutcome> outcomes;
    for (const QString &path : paths) {
        UploadIntake session(databasePath);
        session.take(path, progress);
        if (options.replaceRegion)
            session.replaceRegions();
        if (!session.files().constLast().refused())
            session.commit();
        outcomes.append(importOutcome(session.files().constLast()));
    }
    return outcomes;
}

ImportPreview previewUploadFile(const QString &databasePath, const QString &path, Progress &progress,
                                ImportOptions options)
{
    return previewUploadFileList(databasePath, {path}, progress, options).constFirst();
}

QVector<ImportPreview> previewUploadFileList(const QString &databasePath, const QStringList &paths,
                                             Progress &progress, ImportOptions options)
{
    UploadIntake session(databasePath);
    for (const QString &path : paths) {
        session.take(path, progress);
        if (options.replaceRegion)
            session.replaceRegions();
    }
    return session.files(); // never committed: the session rolls back
}

QString previewSummaryLine(const ImportPreview &preview)
{
    const QString name = fileName(preview.path);
    if (preview.refused())
        return name + u"：不能导入。"_s + preview.refusal;
    QString replaced = u"将替换原有项目 %1 个"_s.arg(preview.replacedProjects());
    if (!preview.replacedKeys.isEmpty()) {
        QStringList keys;
        for (const ProjectKey &k : preview.replacedKeys)
            keys << k.first + u'／' + k.second;
        replaced += u'（' + keys.join(u"、"_s) + (preview.replacedProjects() > keys.size() ? u" 等"_s : QString()) + u'）';
    }
    // File names and keys are the user's text: they are joined, never passed through arg(), where
    // a "%1" in them would be taken for a place of the sentence.
    QString line = name + u"：%1 行，"_s.arg(preview.rows) + replaced +
                   u"，文件内同键的行 %1 行，未通过校验的行 %2 行"_s.arg(QString::number(preview.duplicateKeyRows),
                                                                  QString::number(preview.failingRows));
    if (preview.regionReplaced)
        line += u"，按地区整体替换将删除文件中没有的原有项目 %1 个"_s.arg(preview.regionLeftovers);
    return line;
}

QString importSummaryLine(const ImportOutcome &outcome)
{
    const QString name = fileName(outcome.path);
    if (!outcome.imported)
        return name + u"：未导入。"_s + outcome.reason;
    QString line = name + u"：新增 %1 行，替换原有项目 %2 个"_s.arg(QString::number(outcome.result.rowsAdded),
                                                                   QString::number(outcome.result.projectsReplaced));
    if (outcome.intake.regionReplaced)
        line += u"，按地区整体替换删除文件中没有的原有项目 %1 个"_s.arg(outcome.intake.regionLeftovers);
    if (outcome.intake.failingRows > 0)
        line += u"，其中 %1 行未通过校验，已存为未校验"_s.arg(outcome.intake.failingRows);
    return line;
}

QStringList importWarningLines(const FileIntake &intake)
{
    QStringList lines;
    if (intake.refused())
        return lines;
    const QString lead = fileName(intake.path) + u"：警告："_s;
    if (intake.outsideOffice > 0)
        lines << lead + u"%1 行不属于本单位地区（%2）"_s.arg(QString::number(intake.outsideOffice), intake.office.name);
    if (intake.olderRows > 0)
        lines << lead + u"%1 行的修改时间早于数据库中被替换的项目，导入会用旧数据覆盖新数据"_s.arg(intake.olderRows);
    if (intake.movedKeys > 0)
        lines << lead + u"%1 个项目在数据库中属于另一个行政区划代码，导入后将改属文件中的地区"_s.arg(intake.movedKeys);
    if (intake.falselyPassed > 0)
        lines << lead + u"%1 行标为已通过校验但实际未通过，将存为未校验"_s.arg(intake.falselyPassed);
    if (!intake.regionReplaced && intake.regionLeftovers > 0)
        lines << lead
                     + u"数据库中文件所列地区还有 %1 个文件中没有的原有项目，将继续保留（按地区整体替换可删除）"_s.arg(
                         intake.regionLeftovers);
    return lines;
}


QStringList previewLines(const QVector<FileIntake> &files)
{
    QStringList lines;
    for (const FileIntake &f : files)
        lines << previewSummaryLine(f) << importWarningLines(f);
    return lines;
}

QString regionReplacementQuestion(const QVector<FileIntake> &files)
{
    QStringList lines;
    for (const FileIntake &f : files)
        if (!f.refused() && !f.regionReplaced && f.regionLeftovers > 0)
            lines << exchange::RegionLeftoverLine.arg(fileName(f.path), QString::number(f.regionLeftovers));
    return lines.isEmpty() ? QString() : exchange::RegionQuestion.arg(lines.join(u'\n'));
}

} // namespace granwise

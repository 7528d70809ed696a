#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// Reading PDF files back with the poppler tools (pdfinfo, pdftotext).
namespace granwise::test {

// A text with every blank and line break removed.
inline QString withoutBlanks(const QString &text)
{
    QString squeezed;
    for (const QChar c : text)
        if (!c.isSpace())
            squeezed.append(c);
    return squeezed;
}

inline bool havePdfTools()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()
           && !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

inline QString runTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A line of pdfinfo's report ("Pages", "Page size", "Title"), without its name.
inline QString pdfInfo(const QString &path, const QString &field)
{
    const QStringList lines = runTool(QStringLiteral("pdfinfo"), {path}).split(u'\n');
    for (const QString &line : lines)
        if (line.startsWith(field + u':'))
            return line.mid(field.size() + 1).trimmed();
    return {};
}

inline int pdfPageCount(const QString &path)
{
    bool ok = false;
    const int pages = pdfInfo(path, QStringLiteral("Pages")).toInt(&ok);
    return ok ? pages : -1;
}

// The text of one page (from 1), read line by line as laid out, with every blank and line break
// removed: pdftotext sets the blanks between Chinese characters as it pleases.
inline QString pdfPageText(const QString &path, int page)
{
    return withoutBlanks(
        runTool(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-f"),
                 QString::number(page), QStringLiteral("-l"), QString::number(page), path, QStringLiteral("-")}));
}

} // namespace granwise::test

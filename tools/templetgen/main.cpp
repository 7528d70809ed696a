#include "TemplateWriters.h"

#include "store/Error.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: templetgen DIRECTORY\n");
        return 2;
    }
    const QString directory = args.at(1);
    QDir().mkpath(directory);
    try {
        granwise::templets::writeExchangeTemplates(directory);
        granwise::templets::writeReportTemplates(directory);
        granwise::templets::writeSheetTemplates(directory);
    } catch (const granwise::Error &e) {
        std::fprintf(stderr, "%s\n", e.text().toUtf8().constData());
        return 1;
    }
    return 0;
}

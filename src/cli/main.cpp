#include "Cli.h"

#include "store/AppContext.h"
#include "store/QtTranslations.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char *argv[])
{
    // Writing a PDF lays out text with the machine's fonts, which takes a GUI application; it
    // runs on the offscreen platform, as the program never shows a window.
    bool needsFonts = false;
    for (int i = 1; i < argc; ++i)
        needsFonts = needsFonts || std::strcmp(argv[i], "--pdf") == 0;
    if (needsFonts && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        needsFonts ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    granwise::installQtTranslations(*app);
    const granwise::AppContext context = granwise::AppContext::forProgramFolder(QCoreApplication::applicationDirPath());
    QTextStream out(stdout);
    QTextStream err(stderr);
    // The bytes as given: a name that is not valid UTF-8 must not be changed on its way in.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QByteArray(argv[i]);
    const int code = granwise::cli::runRaw(context, arguments, out, err);
    out.flush();
    err.flush();
    return code;
}

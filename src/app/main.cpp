#include "shell/MainWindow.h"
#include "store/DatabaseSetup.h"
#include "store/Error.h"
#include "store/AppContext.h"
#include "store/QtTranslations.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    // Answered before any window system is needed, so it works on a machine without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("granwise %s\n", granwise::programVersion().toUtf8().constData());
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Granwise"_qs);
    granwise::installQtTranslations(app);
    const granwise::AppContext context =
        granwise::AppContext::forProgramFolder(QCoreApplication::applicationDirPath());
    // Installed, the first start makes the office's database in its data folder; beside the
    // program the build ships it, and a missing one is the error the start-up reports.
    if (!context.locations.besideProgram) {
        try {
            granwise::ensureDatabase(context.databasePath);
        } catch (const granwise::Error &) {
            // The start-up shows the database error in its own box.
        }
    }

    granwise::TFrmmain window(context);
    if (!window.FormCreate())
        return 0;
    window.showMaximized();
    return app.exec();
}

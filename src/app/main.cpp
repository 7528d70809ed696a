#include "shell/MainWindow.h"
#include "store/Glob.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Granwise"_qs);
    granwise::glob::setProgramDirectory(QCoreApplication::applicationDirPath());

    granwise::TFrmmain window;
    if (!window.FormCreate())
        return 0;
    window.showMaximized();
    return app.exec();
}

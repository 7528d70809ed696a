#include "store/QtTranslations.h"

#include <QApplication>
#include <gtest/gtest.h>

// Window tests run with a QApplication on the offscreen platform, with Qt's own texts in Chinese
// as the program has them.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    granwise::installQtTranslations(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

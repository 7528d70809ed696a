#include "store/QtTranslations.h"

#include <QApplication>
#include <gtest/gtest.h>

// Test programs run with a QApplication on the offscreen platform, so library and window
// tests share one main. Qt's Chinese texts are installed as the programs install them.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    granwise::installQtTranslations(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

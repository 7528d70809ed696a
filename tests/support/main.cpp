#include "store/QtTranslations.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

// Tests of the cores run with a QGuiApplication on the offscreen platform: the printed pages
// need its fonts, and no widget is made.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    granwise::installQtTranslations(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

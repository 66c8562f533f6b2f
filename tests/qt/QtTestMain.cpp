// The windows' tests run on Qt's offscreen platform, so that they need no
// display, with the texts of the language files.
#include <gtest/gtest.h>

#include <QApplication>

#include "strings/LanguageTable.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    tessera::LoadLanguageTables(TESSERA_SOURCE_DIR "/lang/");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

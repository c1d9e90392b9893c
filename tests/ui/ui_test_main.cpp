// UI tests run headless on Qt's offscreen platform and drive real widgets,
// under the program's own application object (its general error handler).
#include <gtest/gtest.h>

#include <QtGlobal>

#include "ui/kestrova_app.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    kestrova::TKestrovaApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

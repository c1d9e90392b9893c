#include <gtest/gtest.h>

#include <QMainWindow>

TEST(UiSmoke, WindowCanBeShownOffscreen) {
    QMainWindow w;
    w.setWindowTitle("Tarvex Kestrova");
    w.show();
    EXPECT_TRUE(w.isVisible());
}

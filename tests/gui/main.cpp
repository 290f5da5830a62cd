#include "gui/Application.h"

#include <QApplication>
#include <QTemporaryFile>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The windows on a screen of 1280x720, the smallest they are made for.
    QTemporaryFile screen;
    if (!screen.open())
        return 2;
    screen.write(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": 1280, "height": 720,
                     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    screen.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screen.fileName()));
    QApplication app(argc, argv);
    zelmar::setUpApplication(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

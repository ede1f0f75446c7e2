#include <gtest/gtest.h>

#include "window/qt/CanprogApplication.h"

// The window suites need one application object for the whole run, on the offscreen platform.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    canprog::window::CanprogApplication application(argc, argv);
    return RUN_ALL_TESTS();
}

// One main for every test program: the program's own application object exists (offscreen in
// tests), so widget tests and tests with Qt event loops run alike.
#include "application.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    lumora::LumoraApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}

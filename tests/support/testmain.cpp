// One main for every test program: a QApplication exists (offscreen in tests), so widget
// tests and tests with Qt event loops run alike.
#include <QApplication>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}

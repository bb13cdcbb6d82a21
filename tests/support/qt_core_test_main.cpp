// Test main for the Qt-based tests: a QCoreApplication lives for the whole run
// so that serial ports, timers and processes have an event loop to use.

#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Test main for the Qt-based tests: a QCoreApplication lives for the whole run
// so that serial ports, timers and processes have an event loop to use.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    // Snapshots of radios and other per-user data, written by the programs these tests run,
    // go to a folder of this run, never into the user's own data folder.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

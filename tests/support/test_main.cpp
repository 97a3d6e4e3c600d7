#include "app/Startup.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // No display in CI.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's own start: engine flags (no sandbox as root), language, GL sharing.
    startup::prepareEngine();
    // Never the user's own stored profile.
    platform::usePrivateProfile();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Test discovery runs the binary without the test's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // No test reads or writes the user's own settings.
    QTemporaryDir settings;
    if (qEnvironmentVariableIsEmpty("CALVENOR_SETTINGS"))
        qputenv("CALVENOR_SETTINGS", settings.filePath("Calvenor.conf").toUtf8());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

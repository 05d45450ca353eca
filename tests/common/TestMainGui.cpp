// Entry point of the GUI test programs: as TestMain, with a QApplication on the offscreen
// platform unless the caller chose one (Xvfb), so real widgets are driven headless; HOME and
// the XDG folders point at a fresh temporary folder so no test touches the real home or trash.

#include "common/TestSupport.h"
#include "settings/Log.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    static QTemporaryDir home(QDir::tempPath() + QStringLiteral("/quorvel-test-home-XXXXXX"));
    if (!home.isValid())
        return 3;
    TestSupport::setTestHome(home.path());
    ::setenv("LANG", "C", 1);
    ::setenv("LC_ALL", "C", 1);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    QLocale::setDefault(QLocale::c());
    Log::setSink(Log::Sink::Discard); // tests that read log lines choose their own sink

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

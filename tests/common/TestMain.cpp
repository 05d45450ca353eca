// Entry point of every test program: points HOME and the XDG folders at a fresh temporary
// folder before anything reads them, so no test ever touches the real home or trash.

#include "common/TestSupport.h"
#include "settings/Log.h"

#include <QCoreApplication>
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

    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    QLocale::setDefault(QLocale::c());
    Log::setSink(Log::Sink::Discard); // tests that read log lines choose their own sink

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

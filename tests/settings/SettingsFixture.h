#pragma once

#include "settings/GeneralLib.h"
#include "settings/Log.h"
#include "settings/Paths.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QLocale>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

// A brand-new user: no stored settings, nothing registered, then the start-up sequence
// (register the defaults, read them into the cache).
class FreshSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SettingsStore::clearAll());
        QFile::remove(SettingsStore::filePath());
        GeneralLib::registerUserDefaultsForSettings();
        GeneralLib::readRegistry();
    }
    void TearDown() override
    {
        SettingsStore::clearAll();
        GeneralLib::readRegistry();
    }
};

// Sets TZ for the life of the object and takes the zone offset again.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            previous_ = old, hadPrevious_ = true;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone()
    {
        if (hadPrevious_)
            ::setenv("TZ", previous_.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::string previous_;
    bool hadPrevious_ = false;
};

// Makes QLocale() a given locale for the life of the object.
class ScopedLocale {
public:
    explicit ScopedLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(previous_); }

private:
    QLocale previous_ = QLocale();
};

// Collects the log lines written while it lives.
class LogCapture {
public:
    LogCapture()
    {
        QFile::remove(Paths::logFile());
        Log::setSink(Log::Sink::LogFile);
    }
    ~LogCapture() { Log::setSink(Log::Sink::StandardError); }
    QString text() const
    {
        QFile f(Paths::logFile());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

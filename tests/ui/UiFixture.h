#pragma once

#include "app/AppDelegate.h"
#include "common/TestSupport.h"
#include "settings/ExclusionList.h"
#include "settings/GeneralLib.h"
#include "settings/SettingsStore.h"
#include "ui/DesktopApp.h"
#include "ui/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

// A child of a node by name, or null.
inline TFoldInfo* childNamed(TFoldInfo* node, const QString& name)
{
    for (TFoldInfo* c : node->SubList())
        if (c->sName() == name)
            return c;
    return nullptr;
}

// The desktop application on a home of its own (fresh settings each test), with an
// exclusion list that excludes nothing and protects nothing under the fixture tree. Tests
// build their folders in tree_ and drive the real windows offscreen.
class UiFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::setTestHome(home_.path());
        SettingsStore::clearAll();
    }
    void TearDown() override
    {
        desktop_.reset();
        TestSupport::setTestHome(previous_);
    }

    // Makes the application and shows its main window.
    DesktopApp& launch(bool startupDialog = false)
    {
        DesktopApp::Options options;
        options.startupDialogAtLaunch = startupDialog;
        desktop_ = std::make_unique<DesktopApp>(options);
        ExclusionList::setShared(std::make_shared<const ExclusionList>(QVariantMap{
            {QStringLiteral("Hard"), QVariantMap{{QStringLiteral("dirNotDelete"), QVariantList{QStringLiteral("/x")}}}}}));
        desktop_->launch();
        return *desktop_;
    }

    AppDelegate& app() { return desktop_->app(); }
    MainWindow& window() { return desktop_->window(); }

    // Waits until no scan runs and no report is pending (the waiting panel is down).
    bool waitForIdle(int timeoutMs = 20000)
    {
        QTest::qWait(20);
        return QTest::qWaitFor([&] { return !app().isScanning() && !reportPending(); }, timeoutMs);
    }
    bool reportPending() const;

    // Scans the fixture tree at launch and waits for the first report.
    TFoldInfo* scanTree()
    {
        if (!desktop_)
            launch();
        EXPECT_TRUE(desktop_->scanAtLaunch(tree_.path()));
        EXPECT_TRUE(waitForIdle());
        return app().selectedFolder();
    }

    // Answers the next modal message box by clicking the button with this text; the text
    // of the box is kept in lastMessage_.
    void answerNextMessageBox(const QString& buttonText)
    {
        QTimer::singleShot(0, qApp, [this, buttonText] { clickWhenShown(buttonText, 100); });
    }

    QTemporaryDir home_;
    QString previous_ = TestSupport::testHome();
    TestSupport::TempTree tree_;
    std::unique_ptr<DesktopApp> desktop_;
    QString lastMessage_;
    int messageBoxesAnswered_ = 0;

private:
    void clickWhenShown(const QString& buttonText, int triesLeft);
};

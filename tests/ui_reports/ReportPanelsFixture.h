#pragma once

#include "app/AppDelegate.h"
#include "app/ScriptedUserInterface.h"
#include "common/TestSupport.h"
#include "settings/ExclusionList.h"
#include "ui/reports/ReportPanels.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

// A controller on a home of its own (settings and catalog loaded, an exclusion list that
// keeps every fixture file deletable), a scripted person, a scheduler that runs delayed
// work at once, and the report panels over the controller, shown offscreen.
class ReportPanelsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::setTestHome(home_.path());
        start();
    }
    void TearDown() override
    {
        panels_.reset();
        app_.reset();
        TestSupport::setTestHome(previous_);
    }

    // A fresh controller and panels, reading the settings as a new run of the program.
    void start()
    {
        panels_.reset();
        app_ = std::make_unique<AppDelegate>(ui_, scheduler_);
        app_->loadSettingsAndCatalogs();
        ExclusionList::setShared(std::make_shared<const ExclusionList>(QVariantMap{
            {QStringLiteral("Hard"), QVariantMap{{QStringLiteral("dirNotDelete"), QVariantList{QStringLiteral("/x")}}}}}));
        panels_ = std::make_unique<ReportPanels>(*app_);
        panels_->resize(1000, 700);
        panels_->show();
    }

    // Scans the fixture tree; returns the selected root.
    TFoldInfo* scan(const QString& path = {})
    {
        app_->setParsingPath(path.isEmpty() ? tree_.path() : path);
        app_->waitForScanToFinish();
        return app_->selectedFolder();
    }

    // Shows a report as its tab does: the controller runs it, the panels follow.
    void show(const char* name)
    {
        const int index = ReportPanels::reportIndexForName(QLatin1String(name));
        ASSERT_GE(index, 0) << name;
        app_->reportButtonTapped(index);
        ASSERT_TRUE(panels_->showReportByName(QLatin1String(name))) << name;
        QCoreApplication::processEvents(); // lay the panel out before it is clicked
    }

    QTemporaryDir home_;
    QString previous_ = TestSupport::testHome();
    TestSupport::TempTree tree_;
    ScriptedUserInterface ui_;
    ImmediateScheduler scheduler_;
    std::unique_ptr<AppDelegate> app_;
    std::unique_ptr<ReportPanels> panels_;
};

// Collects the model testers' complaints (they report through Qt's warnings).
class ModelTesterLog {
public:
    ModelTesterLog();
    ~ModelTesterLog();
    QStringList failures() const;
};

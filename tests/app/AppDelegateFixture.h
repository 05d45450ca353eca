#pragma once

#include "app/AppDelegate.h"
#include "app/ScriptedUserInterface.h"
#include "common/TestSupport.h"
#include "settings/ExclusionList.h"

#include <gtest/gtest.h>

// A child of a node by name, or null.
inline TFoldInfo* child(TFoldInfo* node, const QString& name)
{
    for (TFoldInfo* c : node->SubList())
        if (c->sName() == name)
            return c;
    return nullptr;
}

// A controller on a home of its own, with the settings and catalog loaded and an exclusion
// list that excludes nothing (but has protected folders, so files stay deletable), driven
// by a scripted person and a scheduler that runs delayed work at once. Tests build their
// fixture tree in tree_.
class AppDelegateFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::setTestHome(home_.path());
        app_.loadSettingsAndCatalogs();
        ExclusionList::setShared(std::make_shared<const ExclusionList>(QVariantMap{
            {QStringLiteral("Hard"), QVariantMap{{QStringLiteral("dirNotDelete"), QVariantList{QStringLiteral("/x")}}}}}));
    }
    void TearDown() override { TestSupport::setTestHome(previous_); }

    // Scans the fixture tree and returns the selected root.
    TFoldInfo* scanTree()
    {
        app_.setParsingPath(tree_.path());
        app_.waitForScanToFinish();
        return app_.selectedFolder();
    }

    QTemporaryDir home_;
    QString previous_ = TestSupport::testHome();
    TestSupport::TempTree tree_;
    ScriptedUserInterface ui_;
    ImmediateScheduler scheduler_;
    AppDelegate app_{ui_, scheduler_};
};

#pragma once

#include "app/ScriptedUserInterface.h"
#include "common/TestSupport.h"
#include "scan/ScanFixtures.h"
#include "settings/GeneralLib.h"
#include "settings/SettingsStore.h"
#include "viewer/core/FileViewerWindowController.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A delegate that records every list of nodes handed to it.
class RecordingViewerDelegate : public FileViewerWindowControllerDelegate {
public:
    void removeItemsFromScannedTree(const std::vector<TFoldInfo*>& nodes) override { calls.push_back(nodes); }
    std::vector<NodeList> calls;
};

// Files in a temporary folder, scanned into a real tree, and a viewer on them.
class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SettingsStore::clearAll();
        GeneralLib::registerUserDefaultsForSettings();
        GeneralLib::readRegistry();
    }

    // Scans the folder and returns every file beneath it, depth first.
    NodeList scanFiles()
    {
        tree_ = scanInto(dir_.path(), 1, excluding({}));
        NodeList files;
        collect(tree_->root(), files);
        return files;
    }

    TFoldInfo* nodeNamed(const NodeList& list, const QString& name) const
    {
        for (TFoldInfo* node : list)
            if (node->sName() == name)
                return node;
        return nullptr;
    }

    static QStringList names(const NodeList& list)
    {
        QStringList out;
        for (const TFoldInfo* node : list)
            out.append(node->sName());
        return out;
    }

    std::unique_ptr<FileViewerWindowController> open(const NodeList& files)
    {
        return FileViewerWindowController::openFilesViewerWindow(files, QStringLiteral("Row"), ui_, scheduler_,
                                                                 &delegate_);
    }

    // Unix seconds of a local wall time.
    static std::int64_t localSeconds(int y, int m, int d, int h, int min, int s)
    {
        return QDateTime(QDate(y, m, d), QTime(h, min, s), Qt::LocalTime).toSecsSinceEpoch();
    }

    TestSupport::TempTree dir_;
    std::unique_ptr<ScanTree> tree_;
    ScriptedUserInterface ui_;
    ImmediateScheduler scheduler_;
    RecordingViewerDelegate delegate_;

private:
    static void collect(TFoldInfo* folder, NodeList& out)
    {
        for (TFoldInfo* child : folder->SubList()) {
            if (child->isFolder())
                collect(child, out);
            else
                out.push_back(child);
        }
    }
};

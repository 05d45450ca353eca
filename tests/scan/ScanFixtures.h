#pragma once

#include "scan/AnalysisLib.h"
#include "scan/ScanTree.h"
#include "scan/TFolderScanner.h"
#include "settings/ExclusionList.h"

#include <QString>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

// Scans `path` into a new tree with the given exclusion list (none excluded by default)
// and thread count. The root's totals are not computed.
inline std::unique_ptr<ScanTree> scanInto(const QString& path, int threads = 1,
                                          std::shared_ptr<const ExclusionList> exclusions = nullptr,
                                          TFolderScannerDelagate* delegate = nullptr,
                                          bool* completed = nullptr)
{
    auto tree = std::make_unique<ScanTree>(path, QStringLiteral("root"));
    TFolderScanner scanner;
    scanner.setThreadCount(threads);
    scanner.setExclusionList(exclusions ? exclusions : std::make_shared<const ExclusionList>());
    scanner.setDelegate(delegate);
    isScanAborted().store(false);
    const bool done = scanner.scanFolder(tree->root());
    if (completed)
        *completed = done;
    return tree;
}

// Names of a folder's children, in list order.
inline QStringList childNames(const TFoldInfo* node)
{
    QStringList names;
    for (const TFoldInfo* child : node->SubList())
        names.append(child->sName());
    return names;
}

// A node by its path relative to the root ("a/b/c"), or null.
inline TFoldInfo* findNode(TFoldInfo* root, const QString& relative)
{
    TFoldInfo* node = root;
    for (const QString& part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        TFoldInfo* next = nullptr;
        for (TFoldInfo* child : node->SubList())
            if (child->sName() == part)
                next = child;
        if (!next)
            return nullptr;
        node = next;
    }
    return node;
}

// Everything a scan decides about a node, on one line.
inline QString dumpNode(const TFoldInfo* node, int depth)
{
    const std::string_view name = node->nameBytes();
    return QString::number(depth) + QLatin1Char(' ')
           + QString::fromLatin1(QByteArray(name.data(), qsizetype(name.size())).toHex()) + QLatin1Char(' ')
           + QString::number(node->cSize()) + QLatin1Char(' ') + QString::number(node->cASize())
           + QLatin1Char(' ') + QString::number(node->cFiles()) + QLatin1Char(' ') + QString::number(node->cFolders())
           + QLatin1Char(' ') + QString::number(int(node->bRead())) + QString::number(int(node->isUnreadable()))
           + QLatin1Char(' ') + node->fType() + QLatin1Char(' ')
           + QString::number(node->itemAttrInfo().flags, 16) + QLatin1Char(' ')
           + QString::number(int(node->isFolder())) + QString::number(int(node->isApp()))
           + QString::number(int(node->isNonDeleteableFile())) + QLatin1Char(' ')
           + QString::number(node->lMTime(), 'f', 9) + QLatin1Char(' ')
           + QString::number(node->lATime(), 'f', 9) + QLatin1Char(' ')
           + QString::number(node->cTime(), 'f', 9) + QLatin1Char('\n');
}

// Every node of a tree in pre-order, one line each, walked without recursion so that trees
// of any depth can be compared.
inline QString dumpTree(const TFoldInfo* root)
{
    QString out;
    std::vector<std::pair<const TFoldInfo*, int>> stack{{root, 0}};
    while (!stack.empty()) {
        const auto [node, depth] = stack.back();
        stack.pop_back();
        out += dumpNode(node, depth);
        const auto children = node->SubList();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            stack.emplace_back(*it, depth + 1);
    }
    return out;
}

// Scans `path` and computes the totals as the application does at the end of a scan.
inline std::unique_ptr<ScanTree> scanAndTotal(const QString& path, int threads)
{
    auto tree = scanInto(path, threads);
    AnalysisLib::totalFinishedTree(tree->root());
    TFolderScanner().ReadFilesCountAndSizeForRoot(tree->root());
    return tree;
}

// Scans `path` with 1 thread and then with 2, 4 and 8, expecting the same tree and totals.
inline void expectSameTreeForAnyThreadCount(const QString& path)
{
    scanInto(path, 1); // reading folders may touch their access times once
    const QString expected = dumpTree(scanAndTotal(path, 1)->root());
    for (int threads : {2, 4, 8}) {
        const QString got = dumpTree(scanAndTotal(path, threads)->root());
        EXPECT_TRUE(got == expected) << "threads " << threads; // no dump of megabytes on failure
    }
}

// Records the scanner's progress reports.
class ProgressRecorder : public TFolderScannerDelagate {
public:
    void scanProgress(const QVariantMap& info) override { reports.push_back(info); }
    std::vector<QVariantMap> reports;
};

// An exclusion list excluding exactly the given paths.
inline std::shared_ptr<const ExclusionList> excluding(const QStringList& paths)
{
    QVariantList list;
    for (const QString& p : paths)
        list.append(p);
    QVariantMap hard{{QStringLiteral("dirPath"), list}, {QStringLiteral("filePath"), QVariantList()},
                     {QStringLiteral("dirNotDelete"), QVariantList{QStringLiteral("/usr")}}};
    return std::make_shared<const ExclusionList>(QVariantMap{{QStringLiteral("Hard"), hard}});
}

#pragma once

#include "scan/ScanTree.h"
#include "scan/TFolderScanner.h"
#include "settings/ExclusionList.h"

#include <QString>
#include <QVariantMap>

#include <memory>
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

// Everything a scan decides about every node, in pre-order, one line per node.
inline void dumpTree(const TFoldInfo* node, QString& out, int depth = 0)
{
    out += QString(depth, QLatin1Char(' ')) + QString::fromUtf8(node->sPathBytes().toHex()) + QLatin1Char(' ')
           + QString::number(node->cSize()) + QLatin1Char(' ') + QString::number(node->cASize())
           + QLatin1Char(' ') + node->fType() + QLatin1Char(' ')
           + QString::number(node->itemAttrInfo().flags, 16) + QLatin1Char(' ')
           + QString::number(int(node->isFolder())) + QString::number(int(node->isApp()))
           + QString::number(int(node->isNonDeleteableFile())) + QLatin1Char(' ')
           + QString::number(node->lMTime(), 'f', 9) + QLatin1Char(' ')
           + QString::number(node->lATime(), 'f', 9) + QLatin1Char(' ')
           + QString::number(node->cTime(), 'f', 9) + QLatin1Char('\n');
    for (const TFoldInfo* child : node->SubList())
        dumpTree(child, out, depth + 1);
}

inline QString dumpTree(const TFoldInfo* root)
{
    QString out;
    dumpTree(root, out);
    return out;
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

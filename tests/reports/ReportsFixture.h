#pragma once

#include "common/TestSupport.h"
#include "reports/PredicatesLib.h"
#include "scan/ScanFixtures.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/SettingsStore.h"
#include "settings/TypeCatalog.h"

#include <QDateTime>
#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

// A scanned fixture tree with its root totals computed, as after a scan in the application.
// The exclusion list protects a folder elsewhere, as the default list does, so the files
// here count as deletable (with no protected folders at all, nothing would).
struct ScannedTree {
    std::unique_ptr<ScanTree> tree;
    TFoldInfo* root() const { return tree->root(); }
    TFoldInfo* at(const QString& relative) const { return findNode(tree->root(), relative); }
};

inline ScannedTree scanWithTotals(const QString& path)
{
    ScannedTree scanned{scanInto(path, 1, excluding({QStringLiteral("/usr")}))};
    TFolderScanner().ReadFilesCountAndSizeForRoot(scanned.root());
    return scanned;
}

inline QString uiText(const char* key) { return CommonFuncs::getLocalizedStringForKey(QString::fromLatin1(key)); }

// Names of the nodes of a list, in order.
inline QStringList namesOf(const NodeList& nodes)
{
    QStringList names;
    for (const TFoldInfo* node : nodes)
        names.append(node->sName());
    return names;
}

// "label:name,name" for each row, so that one comparison shows a whole report.
template <class Row>
QStringList rowsOf(const std::vector<Row>& rows)
{
    QStringList out;
    for (const TGroupRow& row : rows)
        out.append(row.label + QLatin1Char(':') + namesOf(row.nodes).join(QLatin1Char(',')));
    return out;
}

// Every row's count and sums agree with its list.
template <class Row>
void expectConsistentRows(const std::vector<Row>& rows)
{
    for (const TGroupRow& row : rows) {
        std::uint64_t size = 0, asize = 0;
        for (const TFoldInfo* node : row.nodes) {
            size += node->cSize();
            asize += node->cASize();
        }
        EXPECT_EQ(row.Files, std::int64_t(row.nodes.size()));
        EXPECT_EQ(row.Size, size);
        EXPECT_EQ(row.ASize, asize);
    }
}

// Unix seconds of a local date and time.
inline std::int64_t localUnix(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0)
{
    return QDateTime(QDate(y, m, d), QTime(hh, mm, ss), Qt::LocalTime).toSecsSinceEpoch();
}

constexpr double kUnixToAbsolute = 978307200.0;

// Settings and catalog as at the application's start, with the default catalog written
// afresh, for each test.
class ReportsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SettingsStore::clearAll();
        GeneralLib::registerUserDefaultsForSettings();
        GeneralLib::readRegistry();
        CommonFuncs::loadLanguageDict();
        PredicatesLib::connectToCatalog();
        ASSERT_TRUE(TypeCatalog::makeExtnFile());
        TypeCatalog::readAndUpdateGlobalsForParsing();
    }
    void TearDown() override
    {
        SettingsStore::clearAll();
        GeneralLib::readRegistry();
    }
    TestSupport::TempTree fixture_;
};

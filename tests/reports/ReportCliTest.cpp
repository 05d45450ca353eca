// quorvel-cli report: the JSON and the tables of a scanned fixture.

#include "reports/ReportsFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class ReportCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree_.file(QStringLiteral("big.iso"), 300000);
        tree_.setTimes(QStringLiteral("big.iso"), 1600000000, 1500000000);
        tree_.file(QStringLiteral("notes.txt"), 1000);
        tree_.file(QStringLiteral("junk.tmp"), 10);
        tree_.file(QStringLiteral("sub/inner.txt"), 20000);
        tree_.file(QStringLiteral("Tool.app/Contents/Info.plist"), 50);
        tree_.file(QStringLiteral("Tool.app/Contents/MacOS/tool"), 950);
    }
    QJsonObject reportJson(const QStringList& names, const QStringList& extra = {})
    {
        const auto result = TestSupport::runCli(QStringList{QStringLiteral("report"), names.join(QLatin1Char(',')),
                                                            QStringLiteral("--json")}
                                                + extra + QStringList{tree_.path()});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        // Written as it is produced, the document still has exactly the bytes of one
        // compact QJsonDocument of the whole (keys sorted, numbers and texts written alike).
        const QJsonDocument document = QJsonDocument::fromJson(result.out);
        EXPECT_EQ(result.out, QByteArray(document.toJson(QJsonDocument::Compact) + '\n'));
        return document.object();
    }
    TestSupport::TempTree tree_;
};

QJsonObject byName(const QJsonArray& rows, const QString& key, const QString& value)
{
    for (const QJsonValue& row : rows)
        if (row.toObject().value(key).toString() == value)
            return row.toObject();
    return {};
}

} // namespace

TEST_F(ReportCli, JsonHoldsTheTotalsAndEveryRowKind)
{
    const QJsonObject json = reportJson({QStringLiteral("sizes"), QStringLiteral("explorer"), QStringLiteral("folders"),
                                         QStringLiteral("top-size"), QStringLiteral("apps")});
    EXPECT_EQ(json.value(QStringLiteral("path")).toString(), tree_.path());
    EXPECT_EQ(json.value(QStringLiteral("size")).toInteger(), 300000 + 1000 + 10 + 20000 + 1000);
    EXPECT_EQ(json.value(QStringLiteral("files")).toInteger(), 5); // the bundle is one file
    EXPECT_EQ(json.value(QStringLiteral("folders")).toInteger(), 1);
    EXPECT_FALSE(json.contains(QStringLiteral("timings")));
    const QJsonObject reports = json.value(QStringLiteral("reports")).toObject();
    EXPECT_EQ(reports.keys().size(), 5);

    // Grouped rows, sorted by size, descending.
    const QJsonArray sizes = reports.value(QStringLiteral("sizes")).toArray();
    ASSERT_EQ(sizes.size(), 3);
    const QJsonObject first = sizes[0].toObject();
    EXPECT_EQ(first.value(QStringLiteral("files")).toInteger(), 1);
    EXPECT_EQ(first.value(QStringLiteral("size")).toInteger(), 300000);
    EXPECT_GE(first.value(QStringLiteral("size_on_disk")).toInteger(), 300000);
    EXPECT_EQ(first.value(QStringLiteral("label")).toString(),
              QStringLiteral("256 ") + uiText("ID_KB") + QStringLiteral(" - 512 ") + uiText("ID_KB"));
    EXPECT_EQ(sizes[2].toObject().value(QStringLiteral("files")).toInteger(), 3); // 10, 1000, 1000 bytes

    // Node rows: the explorer's entries with their totals and times.
    const QJsonArray explorer = reports.value(QStringLiteral("explorer")).toArray();
    ASSERT_EQ(explorer.size(), 5);
    EXPECT_EQ(explorer[0].toObject().value(QStringLiteral("name")).toString(), QStringLiteral("big.iso"));
    const QJsonObject big = explorer[0].toObject();
    EXPECT_EQ(big.value(QStringLiteral("path")).toString(), tree_.at(QStringLiteral("big.iso")));
    EXPECT_FALSE(big.value(QStringLiteral("is_folder")).toBool());
    EXPECT_DOUBLE_EQ(big.value(QStringLiteral("modified")).toDouble(), 1500000000 - kUnixToAbsolute);
    EXPECT_DOUBLE_EQ(big.value(QStringLiteral("accessed")).toDouble(), 1600000000 - kUnixToAbsolute);
    EXPECT_TRUE(big.value(QStringLiteral("created")).isDouble());
    const QJsonObject sub = byName(explorer, QStringLiteral("name"), QStringLiteral("sub"));
    EXPECT_TRUE(sub.value(QStringLiteral("is_folder")).toBool());
    EXPECT_EQ(sub.value(QStringLiteral("size")).toInteger(), 20000);
    EXPECT_EQ(sub.value(QStringLiteral("files")).toInteger(), 1);
    EXPECT_EQ(sub.value(QStringLiteral("kind")).toString(), QStringLiteral("File Folder"));

    const QJsonArray apps = reports.value(QStringLiteral("apps")).toArray();
    ASSERT_EQ(apps.size(), 1);
    EXPECT_TRUE(apps[0].toObject().value(QStringLiteral("is_app")).toBool());
    EXPECT_EQ(apps[0].toObject().value(QStringLiteral("size")).toInteger(), 1000);

    const QJsonArray top = reports.value(QStringLiteral("top-size")).toArray();
    ASSERT_EQ(top.size(), 5);
    EXPECT_EQ(top[1].toObject().value(QStringLiteral("name")).toString(), QStringLiteral("inner.txt"));

    // Folder rows.
    const QJsonArray folders = reports.value(QStringLiteral("folders")).toArray();
    ASSERT_EQ(folders.size(), 1);
    const QJsonObject folder = folders[0].toObject();
    EXPECT_EQ(folder.keys(), (QStringList{QStringLiteral("files"), QStringLiteral("folders"), QStringLiteral("modified"),
                                          QStringLiteral("name"), QStringLiteral("path"), QStringLiteral("size"),
                                          QStringLiteral("size_on_disk")}));
    EXPECT_EQ(folder.value(QStringLiteral("path")).toString(), tree_.at(QStringLiteral("sub")));
}

TEST_F(ReportCli, AllReportsAndTimings)
{
    const QJsonObject json = reportJson({QStringLiteral("all")}, {QStringLiteral("--timings")});
    const QJsonObject reports = json.value(QStringLiteral("reports")).toObject();
    EXPECT_EQ(reports.keys().size(), 14);
    EXPECT_EQ(reports.value(QStringLiteral("overview")).toArray().size(), 7);
    EXPECT_TRUE(reports.value(QStringLiteral("ownership")).toArray().isEmpty());
    const QJsonArray obsolete = reports.value(QStringLiteral("obsolete")).toArray();
    ASSERT_EQ(obsolete.size(), 1);
    EXPECT_EQ(obsolete[0].toObject().value(QStringLiteral("name")).toString(), QStringLiteral("junk.tmp"));
    // The oldest list by access time holds every file, shown largest first.
    const QJsonArray oldest = reports.value(QStringLiteral("top-oldest")).toArray();
    ASSERT_EQ(oldest.size(), 5);
    EXPECT_EQ(oldest[0].toObject().value(QStringLiteral("name")).toString(), QStringLiteral("big.iso"));

    const QJsonObject timings = json.value(QStringLiteral("timings")).toObject();
    EXPECT_GT(timings.value(QStringLiteral("scan_seconds")).toDouble(), 0.0);
    EXPECT_GT(timings.value(QStringLiteral("report_seconds")).toDouble(), 0.0);
    EXPECT_EQ(timings.value(QStringLiteral("each")).toObject().size(), 14);
}

TEST_F(ReportCli, FolderRowsFollowTheAskedOrderOfTheExplorer)
{
    // Six folders of different sizes, each with a subfolder of 3 bytes: the subfolders tie,
    // so their rows keep the order the folders were walked in, which the explorer's visit
    // changes (it sorts the list the folder rows are made from by size).
    QStringList bySize;
    for (int i = 1; i <= 6; ++i) {
        const QString folder = QStringLiteral("p%1").arg(i);
        tree_.file(folder + QStringLiteral("/data.bin"), 100 * i);
        tree_.file(folder + QStringLiteral("/s/x.bin"), 3);
        bySize.prepend(tree_.at(folder + QStringLiteral("/s")));
    }
    const auto folderPaths = [](const QJsonObject& json) {
        QStringList paths;
        for (const QJsonValue& row : json.value(QStringLiteral("reports")).toObject().value(QStringLiteral("folders")).toArray())
            if (row.toObject().value(QStringLiteral("size")).toInteger() == 3)
                paths.append(row.toObject().value(QStringLiteral("path")).toString());
        return paths;
    };
    const QStringList alone = folderPaths(reportJson({QStringLiteral("folders")}));
    ASSERT_EQ(alone.size(), 6);
    EXPECT_EQ(folderPaths(reportJson({QStringLiteral("folders"), QStringLiteral("explorer")})), alone);
    EXPECT_EQ(folderPaths(reportJson({QStringLiteral("explorer"), QStringLiteral("folders")})), bySize);
}

TEST_F(ReportCli, TablesUseTheChosenUnit)
{
    const auto result = TestSupport::runCli({QStringLiteral("report"), QStringLiteral("sizes,custom"),
                                             QStringLiteral("--unit"), QStringLiteral("bytes"), tree_.path()});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString out = QString::fromUtf8(result.out);
    EXPECT_TRUE(out.contains(QLatin1String("300000 Bytes"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QLatin1String("Size ranges (3 rows)"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QLatin1String("Custom type summary"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QLatin1String("93.16 %"))) << out.toStdString(); // 300000 of 322010
}

TEST_F(ReportCli, TablesShowEachReportsOwnColumnsAndCells)
{
    const auto result = TestSupport::runCli({QStringLiteral("report"), QStringLiteral("overview,obsolete"),
                                             QStringLiteral("--unit"), QStringLiteral("bytes"), tree_.path()});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList lines = QString::fromUtf8(result.out).split(QLatin1Char('\n'));
    const auto lineAfter = [&lines](const QString& start, qsizetype offset = 1) {
        for (qsizetype i = 0; i + offset < lines.size(); ++i)
            if (lines[i].startsWith(start))
                return lines[i + offset].simplified();
        return QString();
    };
    // The overview's header, and a group without files shows dashes for size and share.
    EXPECT_EQ(lineAfter(QStringLiteral("== Overview")), QStringLiteral("Type Files Size Share"));
    const QString video = uiText("ID_VIDEO_FILES");
    const auto row = std::find_if(lines.begin(), lines.end(), [&video](const QString& l) { return l.startsWith(video); });
    ASSERT_NE(row, lines.end());
    EXPECT_EQ(row->simplified(), video + QStringLiteral(" 0 -- --"));
    // The obsolete files: name, path, sizes.
    EXPECT_EQ(lineAfter(QStringLiteral("== Obsolete files")), QStringLiteral("Name Path Size Size on Disk"));
    const QString junk = lineAfter(QStringLiteral("== Obsolete files"), 2);
    EXPECT_TRUE(junk.startsWith(QStringLiteral("junk.tmp %1 10 Bytes ").arg(tree_.at(QStringLiteral("junk.tmp")))))
        << junk.toStdString();
}

TEST_F(ReportCli, BadArgumentsAreUsageErrors)
{
    const auto unknown = TestSupport::runCli({QStringLiteral("report"), QStringLiteral("sizes,bogus"), tree_.path()});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains("bogus"));
    EXPECT_TRUE(unknown.out.isEmpty());
    const auto noPath = TestSupport::runCli({QStringLiteral("report"), QStringLiteral("sizes")});
    EXPECT_EQ(noPath.exitCode, 2);
    const auto missing =
        TestSupport::runCli({QStringLiteral("report"), QStringLiteral("all"), tree_.at(QStringLiteral("nothing"))});
    EXPECT_EQ(missing.exitCode, 2);
    const auto badUnit = TestSupport::runCli(
        {QStringLiteral("report"), QStringLiteral("all"), QStringLiteral("--unit"), QStringLiteral("parsecs"), tree_.path()});
    EXPECT_EQ(badUnit.exitCode, 2);
}

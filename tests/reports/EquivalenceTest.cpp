// The groupings find each file's group directly; this checks them against the plain
// group-after-group evaluation with the filters, on a generated tree with awkward values.

#include "reports/ReportRanges.h"
#include "reports/ReportsFixture.h"
#include "scan/TFoldInfoFields.h"

#include <random>

namespace {

using Filter = PredicatesLib::Filter;
using Groups = std::vector<std::pair<QString, Filter>>;

// Each group in order takes, from what is left, the files that pass its filter.
QStringList literalPartition(const NodeList& files, const Groups& groups, bool keepEmpty, const QString& restLabel)
{
    NodeList remaining = files;
    QStringList rows;
    for (const auto& [label, filter] : groups) {
        NodeList matched, left;
        for (TFoldInfo* node : remaining)
            (filter(*node) ? matched : left).push_back(node);
        if (!matched.empty() || keepEmpty)
            rows.append(label + QLatin1Char(':') + namesOf(matched).join(QLatin1Char(',')));
        remaining = std::move(left);
    }
    if (!restLabel.isNull() && !remaining.empty())
        rows.append(restLabel + QLatin1Char(':') + namesOf(remaining).join(QLatin1Char(',')));
    return rows;
}

Filter groupFilter(const GroupFilter& g) { return [g](TFoldInfo& n) { return g.matches(n); }; }

class Equivalence : public ReportsTest {
protected:
    void SetUp() override
    {
        ReportsTest::SetUp();
        std::mt19937 random(20240115);
        const char* exts[] = {"txt", "TXT", "jpg", "Jpg", "mp3", "zzq", "", "tmp", "LOG", "epub", "iso", "a.b"};
        const std::int64_t sizes[] = {0, 1, 15999, 16000, 16001, 31999, 32000, 32001, 999999, 1000000, 1000001};
        for (int i = 0; i < 240; ++i) {
            const char* ext = exts[random() % std::size(exts)];
            QString name = QStringLiteral("d%1/f%2").arg(i % 6).arg(i);
            if (*ext)
                name += QLatin1Char('.') + QLatin1String(ext);
            fixture_.file(name, sizes[random() % std::size(sizes)]);
        }
        fixture_.file(QStringLiteral("d1/Box.app/Contents/Info.plist"), 77);
        tree_ = scanWithTotals(fixture_.path());
        files_ = PredicatesLib::prepareFilesArray(tree_.root());

        const char* kinds[] = {"PNG image", "png image", "Plain Text", "PLAIN TEXT", "JPEG image", "Folder"};
        const std::uint32_t flagSets[] = {0, ItemFlags::PlainFile, ItemFlags::Invisible | ItemFlags::PlainFile,
                                          ItemFlags::Package | ItemFlags::Invisible, ItemFlags::SymbolicLink,
                                          ItemFlags::Volume, ItemFlags::Application | ItemFlags::PlainFile};
        for (TFoldInfo* node : files_) {
            node->setFType(QLatin1String(kinds[random() % std::size(kinds)]));
            node->setItemFlags(flagSets[random() % std::size(flagSets)]);
            node->setCTime(double(std::int64_t(random() % 2000000000) - 100000000) + (random() % 1000) / 1000.0);
        }
    }
    ScannedTree tree_;
    NodeList files_;
};

} // namespace

TEST_F(Equivalence, SizesAndHoursPartitionLikeTheirFilters)
{
    Groups sizeGroups;
    for (const SizeRangeNode& b : ReportRanges::getFileSizeRangeArray())
        sizeGroups.emplace_back(b.title(), PredicatesLib::predicateForRange(std::uint64_t(b.lowerRange()),
                                                                            std::uint64_t(b.upperRange())));
    EXPECT_EQ(rowsOf(PredicatesLib::predicatesForSizeFilter(files_)),
              literalPartition(files_, sizeGroups, false, QString()));

    Groups hourGroups;
    for (const TimeRangeNode& b : ReportRanges::getFileTimeRangeArray())
        hourGroups.emplace_back(b.title(), PredicatesLib::predicateForTimeRangeOn(0, b.lowerRange(), b.upperRange()));
    EXPECT_EQ(rowsOf(PredicatesLib::predicatesForTimeFilter(files_, 0)),
              literalPartition(files_, hourGroups, false, QString()));
}

TEST_F(Equivalence, KindsPartitionLikeTheirFilters)
{
    const auto literalKinds = [this] {
        Groups groups;
        QStringList seen;
        for (const TFoldInfo* node : files_)
            if (!seen.contains(node->fType())) {
                seen.append(node->fType());
                groups.emplace_back(node->fType(), PredicatesLib::predicateForFileTypeBasedOnKind(node->fType()));
            }
        return literalPartition(files_, groups, false, QString());
    };
    const auto kinds = [this] {
        return rowsOf(PredicatesLib::predicatesForFileTypeFilterBasedOnFileKind(files_));
    };
    EXPECT_EQ(kinds(), literalKinds());
    // With patterns among the kinds.
    files_[5]->setFType(QStringLiteral("*TEXT"));
    files_[9]->setFType(QStringLiteral("p?g image"));
    files_[0]->setFType(QStringLiteral("?older"));
    EXPECT_EQ(kinds(), literalKinds());
}

TEST_F(Equivalence, CatalogGroupsPartitionLikeTheirFilters)
{
    Groups custom;
    for (const auto& [name, filter] : PredicatesLib::allGroups())
        custom.emplace_back(name, groupFilter(filter));
    QStringList expected = literalPartition(files_, custom, false, uiText("ID_OTHERS"));
    const std::pair<const char*, Filter> extras[] = {{"ID_BIG_SIZE_FILES", PredicatesLib::predicateForBigSizeFiles()},
                                                     {"ID_OLDEST_FILES", PredicatesLib::predicateForOldFiles()},
                                                     {"ID_ZERO_SIZE_FILES", PredicatesLib::predicateForZeroByteFile()}};
    for (const auto& [key, filter] : extras) {
        const QStringList one = literalPartition(files_, {{uiText(key), filter}}, false, QString());
        expected += one;
    }
    EXPECT_EQ(rowsOf(PredicatesLib::predicatesForCustomTypeFilter(files_)),
              expected);

    Groups overview;
    for (const auto& [name, filter] : PredicatesLib::overviewGroups())
        overview.emplace_back(name, groupFilter(filter));
    EXPECT_EQ(rowsOf(PredicatesLib::predicatesForOverView(files_)),
              literalPartition(files_, overview, true, uiText("ID_OTHER_FILES")));
}

TEST_F(Equivalence, AttributesFollowTheStepByStepRule)
{
    // The rule as written: overlapping rows from the whole input, "Normal Files" from what
    // is left, stop when nothing is left, then the rest.
    NodeList remaining = files_;
    QStringList expected;
    for (const AttributeKind& kind : ReportRanges::getFileAttributeArray()) {
        if (remaining.empty())
            break;
        const Filter has = PredicatesLib::predicateForFileAttribute(kind.number);
        const NodeList& from = kind.label == QLatin1String("Normal Files") ? remaining : files_;
        NodeList matched;
        for (TFoldInfo* node : from)
            if (has(*node))
                matched.push_back(node);
        if (matched.empty())
            continue;
        expected.append(kind.label + QLatin1Char(':') + namesOf(matched).join(QLatin1Char(',')));
        std::erase_if(remaining, [&](TFoldInfo* n) { return std::find(matched.begin(), matched.end(), n) != matched.end(); });
    }
    if (!remaining.empty())
        expected.append(uiText("ID_NONE") + QLatin1Char(':') + namesOf(remaining).join(QLatin1Char(',')));
    EXPECT_EQ(rowsOf(PredicatesLib::predicatesForAttributeFilter(files_)),
              expected);
    EXPECT_GE(expected.size(), 5);
}

TEST_F(Equivalence, SortingLongListsKeepsTheFieldTablesOrder)
{
    for (const SortDescriptor& d : {SortDescriptor{QStringLiteral("cSize"), false}, SortDescriptor{QStringLiteral("self.cTime"), true},
                                    SortDescriptor{QStringLiteral("cASize"), true}}) {
        NodeList fast = files_, plain = files_;
        ASSERT_TRUE(PredicatesLib::sortWithSortDescriptor(fast, d));
        ASSERT_TRUE(sortByDescriptor(plain, d, tfoldInfoFields()));
        EXPECT_EQ(fast, plain) << d.key.toStdString();
    }
}

// The filter condition as a plain function over scanned nodes, and the panel's checks.

#include "viewer/ViewerFixture.h"
#include "viewer/core/FileViewerFilter.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace {

using FileViewerFilter::filteredNodes;

QStringList sortedNames(const NodeList& list)
{
    QStringList out;
    for (const TFoldInfo* node : list)
        out.append(node->sName());
    out.sort();
    return out;
}

FileViewerFilterValues sizeComparison(int op, const QString& value, int unit = 0)
{
    FileViewerFilterValues v;
    v.sizeFilterType = 2;
    v.comparisionOperator = op;
    v.fileSizeForComparision = value;
    v.sizeUnitForComparision = unit;
    return v;
}

// Sets TZ for one test and puts the previous zone back afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            previous_ = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone()
    {
        if (previous_.empty())
            ::unsetenv("TZ");
        else
            ::setenv("TZ", previous_.c_str(), 1);
        ::tzset();
    }

private:
    std::string previous_;
};

} // namespace

using FilterCondition = ViewerTest;

TEST_F(FilterCondition, NameMatchesTheWholeNameIgnoringCase)
{
    dir_.file(QStringLiteral("report.pdf"));
    dir_.file(QStringLiteral("sub/REPORT.pdf"));
    dir_.file(QStringLiteral("report.pdf.bak"));
    dir_.file(QStringLiteral("my report.pdf"));
    const NodeList files = scanFiles();

    FileViewerFilterValues v;
    v.fileName = QStringLiteral("  Report.PDF\n");
    EXPECT_EQ(sortedNames(filteredNodes(files, v)), (QStringList{"REPORT.pdf", "report.pdf"}));
    v.fileName = QStringLiteral(" \t");
    EXPECT_EQ(filteredNodes(files, v).size(), 4u);
}

TEST_F(FilterCondition, SizeRangeIsInclusiveAndCountsWholeUnits)
{
    for (int size : {999, 1000, 1500, 2000, 2001})
        dir_.file(QStringLiteral("b%1").arg(size), size);
    dir_.sparseFile(QStringLiteral("m999999"), 999999);
    dir_.sparseFile(QStringLiteral("m1000000"), 1000000);
    dir_.sparseFile(QStringLiteral("m1900000"), 1900000);
    const NodeList files = scanFiles();

    FileViewerFilterValues range;
    range.sizeFilterType = 1;
    range.sizeUnitForFilter = 1; // KB
    range.fileSizeMin = QStringLiteral("1");
    range.fileSizeMax = QStringLiteral(" 2 ");
    EXPECT_EQ(sortedNames(filteredNodes(files, range)), (QStringList{"b1000", "b1500", "b2000"}));
    range.fileSizeMin = QStringLiteral("1.9"); // the integer part counts: still 1000 bytes
    EXPECT_EQ(filteredNodes(files, range).size(), 3u);

    // 1.9 MB stands for 1000000 bytes.
    EXPECT_EQ(sortedNames(filteredNodes(files, sizeComparison(0, QStringLiteral("1.9"), 2))),
              QStringList{"m1000000"});
    // A text without an integer part is 0 bytes.
    EXPECT_EQ(sortedNames(filteredNodes(files, sizeComparison(2, QStringLiteral(".5"), 3))), QStringList());
}

TEST_F(FilterCondition, ComparisonOperatorsIncludingNegativeValues)
{
    for (int size : {0, 999, 1000, 1001})
        dir_.file(QStringLiteral("s%1").arg(size), size);
    const NodeList files = scanFiles();
    const struct {
        int op;
        const char* value;
        QStringList kept;
    } cases[] = {
        {0, "1000", {"s1000"}},
        {1, "1000", {"s0", "s999"}},
        {2, "1000", {"s0", "s1000", "s999"}},
        {3, "1000", {"s1001"}},
        {4, "1000", {"s1000", "s1001"}},
        {9, "1000", {"s0", "s1000", "s1001", "s999"}}, // unknown operator: passes
        {1, "0", {}},
        {1, "-1", {}},                                  // no size lies below a negative value
        {3, "-5", {"s0", "s1000", "s1001", "s999"}},
        {0, "-0", {"s0"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sortedNames(filteredNodes(files, sizeComparison(c.op, QLatin1String(c.value)))), c.kept)
            << "operator " << c.op << " value " << c.value;

    FileViewerFilterValues range;
    range.sizeFilterType = 1;
    range.sizeUnitForFilter = 1;
    range.fileSizeMin = QStringLiteral("-1");
    range.fileSizeMax = QStringLiteral("1");
    EXPECT_EQ(sortedNames(filteredNodes(files, range)), (QStringList{"s0", "s1000", "s999"}));
}

TEST_F(FilterCondition, TopCountKeepsTheFirstMatchesInListOrder)
{
    for (int i = 1; i <= 25; ++i)
        dir_.file(QStringLiteral("f%1").arg(i, 2, 10, QLatin1Char('0')), i);
    NodeList files = scanFiles();
    std::sort(files.begin(), files.end(), [](auto* a, auto* b) { return a->cSize() > b->cSize(); });

    FileViewerFilterValues v;
    v.topFilteredFileCount = 10;
    EXPECT_EQ(names(filteredNodes(files, v)),
              (QStringList{"f25", "f24", "f23", "f22", "f21", "f20", "f19", "f18", "f17", "f16"}));
    std::reverse(files.begin(), files.end());
    EXPECT_EQ(names(filteredNodes(files, v)).first(), QStringLiteral("f01"));

    FileViewerFilterValues four = sizeComparison(4, QStringLiteral("22"));
    four.topFilteredFileCount = 10;
    EXPECT_EQ(names(filteredNodes(files, four)), (QStringList{"f22", "f23", "f24", "f25"}));
}

TEST_F(FilterCondition, DayRangeRunsToTheMidnightThatEndsIt)
{
    const std::int64_t farAway = localSeconds(2019, 6, 1, 12, 0, 0);
    const struct {
        const char* name;
        std::int64_t mtime;
    } files[] = {
        {"before", localSeconds(2024, 3, 11, 23, 59, 59)}, {"start", localSeconds(2024, 3, 12, 0, 0, 0)},
        {"noon", localSeconds(2024, 3, 12, 12, 0, 0)},     {"midnight", localSeconds(2024, 3, 13, 0, 0, 0)},
        {"after", localSeconds(2024, 3, 13, 0, 0, 1)},
    };
    for (const auto& f : files) {
        dir_.file(QLatin1String(f.name));
        dir_.setTimes(QLatin1String(f.name), farAway, f.mtime);
    }
    const NodeList nodes = scanFiles();

    FileViewerFilterValues v;
    v.dateTypeForFilter = 1; // last modification
    v.dateFrom = v.dateTo = QStringLiteral("03/12/2024");
    EXPECT_EQ(sortedNames(filteredNodes(nodes, v)), (QStringList{"midnight", "noon", "start"}));
    v.dateTypeForFilter = 0; // last access: every file was read in 2019
    EXPECT_TRUE(filteredNodes(nodes, v).empty());
    v.dateFrom = v.dateTo = QStringLiteral("06/01/2019");
    EXPECT_EQ(filteredNodes(nodes, v).size(), 5u);
    v.dateTypeForFilter = 3; // no date condition
    v.dateFrom = QStringLiteral("01/01/2030");
    EXPECT_EQ(filteredNodes(nodes, v).size(), 5u);
    v.dateTypeForFilter = 1; // "from" after "to"
    EXPECT_TRUE(filteredNodes(nodes, v).empty());
}

TEST_F(FilterCondition, DayRangeCoversTheWholeOfA25HourDay)
{
    ScopedTimeZone berlin("Europe/Berlin"); // clocks go back on 29 October 2023
    dir_.file(QStringLiteral("late"));
    dir_.setTimes(QStringLiteral("late"), 0, localSeconds(2023, 10, 29, 23, 30, 0));
    dir_.file(QStringLiteral("next"));
    dir_.setTimes(QStringLiteral("next"), 0, localSeconds(2023, 10, 30, 0, 0, 1));
    const NodeList nodes = scanFiles();

    FileViewerFilterValues v;
    v.dateTypeForFilter = 1;
    v.dateFrom = v.dateTo = QStringLiteral("10/29/2023");
    EXPECT_EQ(names(filteredNodes(nodes, v)), QStringList{"late"});
}

TEST(FilterPanelChecks, NumberCheckOfTheSizeFields)
{
    for (const char* valid : {"12", "1.5", "-3", "+4", "1.", ".5", "2e3", " 7 "})
        EXPECT_TRUE(FileViewerFilter::validateStringIsNumber(QLatin1String(valid))) << valid;
    for (const char* invalid : {"", "abc", "1a", "1.2.", "-", ".", "1e", "0x10", "1 2"})
        EXPECT_FALSE(FileViewerFilter::validateStringIsNumber(QLatin1String(invalid))) << invalid;

    // Typing "1.5k" character by character: the letter is taken out again at once.
    QString field;
    for (QChar typed : QStringLiteral("1.5k"))
        field = FileViewerFilter::numberCheckedText(field + typed);
    EXPECT_EQ(field, QStringLiteral("1.5"));
    EXPECT_EQ(FileViewerFilter::numberCheckedText(QString()), QString());
}

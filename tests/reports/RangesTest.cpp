// Size, time-of-day and date buckets, and the attribute text, on real fixture files.

#include "reports/FileAttributes.h"
#include "reports/ReportRanges.h"
#include "reports/ReportsFixture.h"
#include "settings/SettingsFixture.h"

#include <QSet>

using TestSupport::TempTree;

namespace {

class Ranges : public ReportsTest {};

// The srNo of every date bucket holding the time.
QList<int> dateBucketsOf(double absolute, const std::vector<DateRangeNode>& buckets)
{
    QList<int> in;
    for (const DateRangeNode& b : buckets)
        if (b.contains(absolute))
            in.append(b.srNo());
    return in;
}

double absoluteOf(std::int64_t unixSeconds) { return double(unixSeconds) - kUnixToAbsolute; }

} // namespace

TEST_F(Ranges, SizeBucketsAreFirstMatchWithSharedBoundaries)
{
    fixture_.file(QStringLiteral("zero"), 0);
    fixture_.file(QStringLiteral("k16"), 16000);
    fixture_.file(QStringLiteral("k16plus"), 16001);
    fixture_.file(QStringLiteral("k512"), 512000);
    fixture_.file(QStringLiteral("k512plus"), 512001);
    fixture_.sparseFile(QStringLiteral("tb"), 1000000000000);
    fixture_.sparseFile(QStringLiteral("tbplus"), 1000000000001);
    fixture_.sparseFile(QStringLiteral("tb5"), 5000000000000);
    const ScannedTree t = scanWithTotals(fixture_.path());
    const NodeList files = PredicatesLib::prepareFilesArray(t.root());
    ASSERT_EQ(files.size(), 8u);

    const auto rows = PredicatesLib::predicatesForSizeFilter(files);
    QStringList got;
    for (const TSizeInfo& row : rows) {
        QStringList names = namesOf(row.nodes);
        names.sort();
        got.append(QString::number(row.SrNo) + QLatin1Char(':') + names.join(QLatin1Char(',')));
    }
    EXPECT_EQ(got, (QStringList{QStringLiteral("0:k16,zero"), QStringLiteral("1:k16plus"), QStringLiteral("5:k512"),
                                QStringLiteral("6:k512plus"), QStringLiteral("16:tb"),
                                QStringLiteral("17:tb5,tbplus")}));
    expectConsistentRows(rows);
}

TEST_F(Ranges, BucketTitlesComeFromTheTextTable)
{
    const QString kb = uiText("ID_KB"), mb = uiText("ID_MB"), tb = uiText("ID_TB");
    const auto sizes = ReportRanges::getFileSizeRangeArray();
    ASSERT_EQ(sizes.size(), 18u);
    EXPECT_EQ(sizes[0].title(), QStringLiteral("0 ") + kb + QStringLiteral(" - 16 ") + kb);
    EXPECT_EQ(sizes[6].title(), QStringLiteral("512 ") + kb + QStringLiteral(" - 1 ") + mb);
    EXPECT_EQ(sizes[17].title(), uiText("ID_SIZE_MORE_THEN") + QStringLiteral(" - 1 ") + tb);
    EXPECT_EQ(sizes[17].upperRange(), -100);

    const QString am = uiText("ID_AM"), pm = uiText("ID_PM");
    const auto hours = ReportRanges::getFileTimeRangeArray();
    ASSERT_EQ(hours.size(), 24u);
    EXPECT_EQ(hours[0].title(), QStringLiteral("12 ") + am + QStringLiteral(" - 1 ") + am);
    EXPECT_EQ(hours[11].title(), QStringLiteral("11 ") + am + QStringLiteral(" - 12 ") + pm);
    EXPECT_EQ(hours[12].title(), QStringLiteral("12 ") + pm + QStringLiteral(" - 1 ") + pm);
    EXPECT_EQ(hours[23].title(), QStringLiteral("11 ") + pm + QStringLiteral(" - 12 ") + am);

    // The range texts carry their argument.
    const auto dates = ReportRanges::getFileDateRangeArray();
    ASSERT_EQ(dates.size(), 11u);
    EXPECT_TRUE(dates[2].title().contains(QLatin1String("7"))) << dates[2].title().toStdString();
    EXPECT_TRUE(dates[3].title().contains(QLatin1String("15"))) << dates[3].title().toStdString();
    EXPECT_TRUE(dates[6].title().contains(QLatin1String("3 "))) << dates[6].title().toStdString();
    EXPECT_FALSE(dates[2].title().contains(QLatin1String("%@")));
    EXPECT_EQ(QSet<QString>({dates[5].title(), dates[6].title(), dates[7].title()}).size(), 3);

    std::vector<SizeRangeNode> one;
    ReportRanges::addSizeRangeObject(one, 17);
    ReportRanges::addSizeRangeObject(one, 18);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].lowerRange(), 1000000000000);
}

TEST_F(Ranges, TimeOfDayUsesOneFixedOffset)
{
    // Unix times of UTC moments; the modification time carries them.
    const std::int64_t day = 86400 * 20000; // a UTC midnight
    fixture_.file(QStringLiteral("utc2000"));
    fixture_.setTimes(QStringLiteral("utc2000"), 0, day + 20 * 3600);
    fixture_.file(QStringLiteral("utc0200"));
    fixture_.setTimes(QStringLiteral("utc0200"), 0, day + 2 * 3600);
    fixture_.file(QStringLiteral("utc2359"));
    fixture_.setTimes(QStringLiteral("utc2359"), 0, day + 86399);
    const ScannedTree t = scanWithTotals(fixture_.path());
    const NodeList files = PredicatesLib::prepareFilesArray(t.root());

    const auto hourOf = [&](int offset) {
        QStringList out;
        for (const TTimeInfo& row : PredicatesLib::predicatesForTimeFilter(files, PredicatesLib::ModificationTime, offset))
            for (const TFoldInfo* node : row.nodes)
                out.append(node->sName() + QLatin1Char('@') + QString::number(row.SrNo));
        out.sort();
        return out;
    };
    // UTC+5:30: 20:00 UTC is 01:30; 02:00 UTC is 07:30; 23:59:59 UTC is 05:29:59.
    EXPECT_EQ(hourOf(19800), (QStringList{QStringLiteral("utc0200@7"), QStringLiteral("utc2000@1"),
                                          QStringLiteral("utc2359@5")}));
    // UTC-5: 02:00 UTC is 21:00 the day before; 20:00 UTC is 15:00.
    EXPECT_EQ(hourOf(-18000), (QStringList{QStringLiteral("utc0200@21"), QStringLiteral("utc2000@15"),
                                           QStringLiteral("utc2359@18")}));

    // Whole seconds count: a time before the reference date, and a fraction just short of
    // the hour.
    EXPECT_EQ(PredicatesLib::secondOfDay(-1.0, 0), 86399);
    EXPECT_EQ(PredicatesLib::secondOfDay(-0.5, 0), 0);
    EXPECT_EQ(PredicatesLib::secondOfDay(3599.999, 0), 3599);
    EXPECT_EQ(PredicatesLib::secondOfDay(86400.0 * 3 + 7200, -7200), 0);
}

TEST_F(Ranges, TimeOfDayTakesTheZoneOffsetOfTheProcess)
{
    fixture_.file(QStringLiteral("f"));
    const ScannedTree t = scanWithTotals(fixture_.path());
    NodeList files = PredicatesLib::prepareFilesArray(t.root());
    files[0]->setCTime(absoluteOf(86400 * 20000 + 20 * 3600)); // 20:00 UTC
    {
        ScopedTimeZone zone("Asia/Kolkata");
        CommonFuncs::takeLocalTimeZoneOffset();
        const auto rows = PredicatesLib::predicatesForTimeFilter(files, PredicatesLib::CreationTime);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].SrNo, 1);
        // The filter form agrees.
        EXPECT_TRUE(PredicatesLib::predicateForTimeRangeOn(0, 3600, 7200)(*files[0]));
        EXPECT_FALSE(PredicatesLib::predicateForTimeRangeOn(0, 7200, 10800)(*files[0]));
    }
    CommonFuncs::takeLocalTimeZoneOffset();
}

TEST_F(Ranges, DateBucketsOnTheFifteenthOfJanuary)
{
    ScopedTimeZone zone("America/New_York");
    const QDateTime now(QDate(2024, 1, 15), QTime(10, 30), Qt::LocalTime);
    const auto buckets = ReportRanges::getFileDateRangeArray(now);
    ASSERT_EQ(buckets.size(), 11u);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(buckets[std::size_t(i)].srNo(), i);

    const auto at = [](int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
        return absoluteOf(localUnix(y, m, d, hh, mm, ss));
    };
    EXPECT_EQ(buckets[5].timeIntervalFromReferenceDate(), at(2023, 12, 1));
    EXPECT_EQ(buckets[6].timeIntervalFromReferenceDate(), at(2023, 10, 1));
    EXPECT_EQ(buckets[7].timeIntervalFromReferenceDate(), at(2023, 7, 1));
    EXPECT_EQ(buckets[8].timeIntervalFromReferenceDate(), at(2024, 1, 1));
    EXPECT_EQ(buckets[9].timeIntervalForComponent(), at(2024, 1, 1));
    EXPECT_TRUE(buckets[10].isBefore_2Yrs());

    EXPECT_EQ(dateBucketsOf(at(2024, 1, 15), buckets), (QList<int>{0, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(dateBucketsOf(at(2024, 1, 14, 23, 59, 59), buckets), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(dateBucketsOf(at(2024, 1, 15, 23, 59, 59), buckets), (QList<int>{0, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(dateBucketsOf(at(2024, 1, 16), buckets), QList<int>{});
    EXPECT_EQ(dateBucketsOf(at(2024, 1, 8), buckets), (QList<int>{2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(dateBucketsOf(at(2024, 1, 7, 23), buckets), (QList<int>{3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(dateBucketsOf(at(2023, 12, 20), buckets), (QList<int>{5, 6, 7, 9}));
    EXPECT_EQ(dateBucketsOf(at(2023, 10, 1), buckets), (QList<int>{6, 7, 9}));
    EXPECT_EQ(dateBucketsOf(at(2023, 9, 30, 23, 59, 59), buckets), (QList<int>{7, 9}));
    EXPECT_EQ(dateBucketsOf(at(2023, 1, 1), buckets), (QList<int>{9}));
    EXPECT_EQ(dateBucketsOf(at(2022, 12, 31, 23, 59, 59), buckets), (QList<int>{10}));
}

TEST_F(Ranges, DateReportPutsAFileInEveryRangeThatHoldsIt)
{
    ScopedTimeZone zone("Asia/Kolkata");
    const QDateTime now(QDate(2024, 3, 1), QTime(0, 10), Qt::LocalTime); // just after midnight
    fixture_.file(QStringLiteral("midnight"), 10);
    fixture_.setTimes(QStringLiteral("midnight"), 0, localUnix(2024, 3, 1));
    fixture_.file(QStringLiteral("lastevening"), 20);
    fixture_.setTimes(QStringLiteral("lastevening"), 0, localUnix(2024, 2, 29, 23, 59, 59));
    fixture_.file(QStringLiteral("ancient"), 30);
    fixture_.setTimes(QStringLiteral("ancient"), 0, localUnix(2001, 6, 1));
    const ScannedTree t = scanWithTotals(fixture_.path());
    const NodeList files = PredicatesLib::prepareFilesArray(t.root());

    const auto rows = PredicatesLib::predicatesForDateFilter(files, PredicatesLib::ModificationTime,
                                                             ReportRanges::getFileDateRangeArray(now));
    QStringList got;
    std::int64_t counted = 0;
    for (const TDateInfo& row : rows) {
        QStringList names = namesOf(row.nodes);
        names.sort();
        got.append(QString::number(row.SrNo) + QLatin1Char(':') + names.join(QLatin1Char(',')));
        counted += row.Files;
    }
    // 1 March: yesterday is 29 February, which is also last month; this month holds only
    // the midnight file.
    EXPECT_EQ(got, (QStringList{QStringLiteral("0:midnight"), QStringLiteral("1:lastevening"),
                                QStringLiteral("2:lastevening,midnight"), QStringLiteral("3:lastevening,midnight"),
                                QStringLiteral("4:midnight"), QStringLiteral("5:lastevening,midnight"),
                                QStringLiteral("6:lastevening,midnight"), QStringLiteral("7:lastevening,midnight"),
                                QStringLiteral("8:lastevening,midnight"), QStringLiteral("10:ancient")}));
    EXPECT_GT(counted, std::int64_t(files.size()));
    expectConsistentRows(rows);
}

TEST_F(Ranges, AttributeTextFollowsPermissionsAndFlags)
{
    fixture_.file(QStringLiteral("ro"), 1);
    fixture_.chmod(QStringLiteral("ro"), 0444);
    fixture_.file(QStringLiteral("r400"), 1);
    fixture_.chmod(QStringLiteral("r400"), 0400);
    fixture_.file(QStringLiteral("r555"), 1);
    fixture_.chmod(QStringLiteral("r555"), 0555);
    fixture_.file(QStringLiteral("plain"), 1);
    fixture_.chmod(QStringLiteral("plain"), 0644);
    fixture_.file(QStringLiteral(".tool"), 1);
    fixture_.chmod(QStringLiteral(".tool"), 0755);
    fixture_.file(QStringLiteral("Viewer.app/Contents/Info.plist"), 10);
    fixture_.file(QStringLiteral("locked"), 1);
    fixture_.chmod(QStringLiteral("locked"), 0);
    fixture_.file(QStringLiteral(".gone"), 1);
    fixture_.chmod(QStringLiteral(".gone"), 0);
    const ScannedTree t = scanWithTotals(fixture_.path());
    ASSERT_TRUE(QFile::remove(fixture_.at(QStringLiteral(".gone"))));

    const auto text = [&](const char* name) { return ReportRanges::GetAttributes(t.at(QLatin1String(name))); };
    EXPECT_EQ(text("ro"), QStringLiteral("R "));
    EXPECT_EQ(text("r400"), QString());
    EXPECT_EQ(text("r555"), QStringLiteral("APP NATIVEAPP "));
    EXPECT_EQ(text("plain"), QString());
    EXPECT_EQ(text(".tool"), QStringLiteral("H APP NATIVEAPP "));
    EXPECT_EQ(text("Viewer.app"), QStringLiteral("PACKAGE APP CONTAINER NATIVEAPP "));
    // No permission bits from the scan: read now; a file that still exists reads fine.
    EXPECT_EQ(text("locked"), QString());
    EXPECT_EQ(t.at(QStringLiteral("locked"))->attrState(), TFoldInfo::AttrState::Read);
    // ... one that is gone cannot be read: "Unknown", straight before the tokens.
    EXPECT_EQ(text(".gone"), QStringLiteral("UnknownH "));
    EXPECT_FALSE(FileAttributes::isReadOnly(*t.at(QStringLiteral(".gone"))));

    TFoldInfo* noFlags = t.at(QStringLiteral("plain"));
    noFlags->setItemFlags(0);
    EXPECT_EQ(ReportRanges::GetAttributes(noFlags), QString());

    const auto kinds = ReportRanges::getFileAttributeArray();
    ASSERT_EQ(kinds.size(), 14u);
    EXPECT_EQ(kinds.front(), (AttributeKind{QStringLiteral("Readonly Files"), 292}));
    EXPECT_EQ(kinds.back(), (AttributeKind{QStringLiteral("Normal Files"), 0x1}));
}

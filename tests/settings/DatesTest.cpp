#include "SettingsFixture.h"

#include "settings/CommonFuncs.h"

#include <QTimeZone>

namespace {

QDateTime local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::LocalTime);
}

QDateTime utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

std::string text(const QDateTime& dt) { return dt.toString(Qt::ISODate).toStdString(); }

} // namespace

TEST(Dates, ComponentsRollOverIntoTheNextField)
{
    ScopedTimeZone zone("Europe/Berlin");
    EXPECT_EQ(text(CommonFuncs::dateWithYear(2024, 0, 1, 0, 0, 0)), text(local(2023, 12, 1)));
    EXPECT_EQ(text(CommonFuncs::dateWithYear(2024, -2, 1, 0, 0, 0)), text(local(2023, 10, 1)));
    EXPECT_EQ(text(CommonFuncs::dateWithYear(2024, 13, 1, 0, 0, 0)), text(local(2025, 1, 1)));
    EXPECT_EQ(text(CommonFuncs::dateWithYear(2024, 3, 0, 0, 0, 0)), text(local(2024, 2, 29)));
    EXPECT_EQ(text(CommonFuncs::dateWithYear(2023, 3, 0, 0, 0, 0)), text(local(2023, 2, 28)));
    EXPECT_EQ(text(CommonFuncs::dateWithYear(2024, 1, 31, 24, 0, 0)), text(local(2024, 2, 1)));
    EXPECT_EQ(text(CommonFuncs::dateWithYear(2024, 1, 1, 0, 0, -1)), text(local(2023, 12, 31, 23, 59, 59)));
    EXPECT_EQ(text(CommonFuncs::dateWithYear(2024, 1, 1, 0, 90, 0)), text(local(2024, 1, 1, 1, 30)));
    // 02:30 does not exist on 31 March 2024 in Berlin; the time moves past the gap.
    EXPECT_EQ(text(CommonFuncs::dateWithYear(2024, 3, 31, 2, 30, 0)), text(local(2024, 3, 31, 3, 30)));
}

TEST(Dates, FirstOfMonthAndYearAcrossTheYearBoundary)
{
    ScopedTimeZone zone("America/New_York");
    const QDateTime jan15 = local(2025, 1, 15, 10, 30);
    EXPECT_EQ(text(CommonFuncs::firstDateFromDateBeforeMonth(jan15, 0)), text(local(2025, 1, 1)));
    EXPECT_EQ(text(CommonFuncs::firstDateFromDateBeforeMonth(jan15, 1)), text(local(2024, 12, 1)));
    EXPECT_EQ(text(CommonFuncs::firstDateFromDateBeforeMonth(jan15, 3)), text(local(2024, 10, 1)));
    EXPECT_EQ(text(CommonFuncs::firstDateFromDateBeforeMonth(jan15, 13)), text(local(2023, 12, 1)));
    EXPECT_EQ(text(CommonFuncs::firstDateFromDateBeforeYear(jan15, 0)), text(local(2025, 1, 1)));
    EXPECT_EQ(text(CommonFuncs::firstDateFromDateBeforeYear(jan15, 1)), text(local(2024, 1, 1)));
    // The month of a UTC moment is taken in the local zone: 1 March 03:00 UTC is still
    // February in New York.
    EXPECT_EQ(text(CommonFuncs::firstDateFromDateBeforeMonth(utc(2024, 3, 1, 3), 0)), text(local(2024, 2, 1)));
    // Midnights are local: 1 January in New York begins at 05:00 UTC.
    EXPECT_EQ(text(CommonFuncs::firstDateFromDateBeforeYear(jan15, 0).toUTC()), text(utc(2025, 1, 1, 5)));
}

TEST(Dates, DayStartOfAnOffsetIsACalendarDay)
{
    ScopedTimeZone zone("America/New_York");
    const auto dayStart = [](double offset, const QDateTime& now) {
        return text(CommonFuncs::dateFromAbsoluteTime(CommonFuncs::getTimeIntervalForDateOnlyBefore(offset, now)));
    };
    const QDateTime leapMorning = local(2024, 3, 1, 0, 30);
    EXPECT_EQ(dayStart(0, leapMorning), text(local(2024, 3, 1)));
    EXPECT_EQ(dayStart(-86400, leapMorning), text(local(2024, 2, 29)));
    EXPECT_EQ(dayStart(1, local(2024, 12, 31, 23, 59, 59)), text(local(2025, 1, 1)));
    // The day after the spring change is 23 hours after the change day began.
    const QDateTime changeDay = local(2024, 3, 10, 12);
    const double start = CommonFuncs::getTimeIntervalForDateOnlyBefore(0, changeDay);
    const double next = CommonFuncs::getTimeIntervalForDateOnlyBefore(86400, changeDay);
    EXPECT_EQ(next - start, 23 * 3600);
}

TEST(Dates, MidnightThatTheZoneSkipsMovesForward)
{
    // Santiago moved its clocks from 00:00 to 01:00 on 8 September 2024.
    ScopedTimeZone zone("America/Santiago");
    const double start = CommonFuncs::getTimeIntervalForDateOnlyBefore(0, local(2024, 9, 8, 12));
    EXPECT_EQ(text(CommonFuncs::dateFromAbsoluteTime(start)), text(local(2024, 9, 8, 1)));
}

TEST(Dates, TextsAndComponents)
{
    ScopedTimeZone zone("Europe/London");
    const QDateTime when = local(2024, 7, 4, 13, 5, 9);
    EXPECT_EQ(CommonFuncs::getFomattedDateString(when).toStdString(), "Jul-04-2024 1:05:09 PM");
    EXPECT_EQ(CommonFuncs::getFomattedDateString(QDateTime()).toStdString(), "");
    EXPECT_EQ(CommonFuncs::dateStringOnlyFromDate(when).toStdString(), "07/04/2024");
    EXPECT_EQ(text(CommonFuncs::dateFromDateOnlyString(QStringLiteral("07/04/2024"))), text(local(2024, 7, 4)));
    EXPECT_FALSE(CommonFuncs::dateFromDateOnlyString(QStringLiteral("13/40/2024")).isValid());

    const std::pair<const char*, const char*> components[] = {
        {"DD", "4"}, {"MM", "7"}, {"YYYY", "2024"}, {"HH", "13"}, {"MN", "5"},
        {"SS", "9"}, {"ss", "9"}, {"Ss", "9"}, {"XX", ""}};
    for (const auto& [name, value] : components)
        EXPECT_EQ(CommonFuncs::getDateTimeComponent(QString::fromLatin1(name), when).toStdString(), value) << name;
    // Components are those of the local zone: 23:30 UTC is already the next day in Tokyo.
    ScopedTimeZone tokyo("Asia/Tokyo");
    EXPECT_EQ(CommonFuncs::getDateTimeComponent(QStringLiteral("DD"), utc(2024, 7, 4, 23, 30)).toStdString(), "5");
}

TEST(Dates, AbsoluteTimesCountFrom2001InUtc)
{
    ScopedTimeZone zone("Asia/Kolkata");
    EXPECT_EQ(text(CommonFuncs::dateFromAbsoluteTime(0).toUTC()), text(utc(2001, 1, 1)));
    EXPECT_DOUBLE_EQ(CommonFuncs::absoluteTimeFromDate(utc(2001, 1, 2, 0, 0, 1)), 86401.0);
    EXPECT_DOUBLE_EQ(CommonFuncs::absoluteTimeFromDate(CommonFuncs::dateFromAbsoluteTime(-12.25)), -12.25);
}

TEST(Dates, ZoneOffsetIsTakenOnceUntilTakenAgain)
{
    {
        ScopedTimeZone zone("Asia/Tokyo");
        CommonFuncs::takeLocalTimeZoneOffset();
        EXPECT_EQ(CommonFuncs::localTimeZoneOffset(), 9 * 3600);
    }
    ScopedTimeZone zone("Asia/Kathmandu");
    EXPECT_EQ(CommonFuncs::localTimeZoneOffset(), 9 * 3600); // still the offset taken at start
    CommonFuncs::takeLocalTimeZoneOffset();
    EXPECT_EQ(CommonFuncs::localTimeZoneOffset(), 5 * 3600 + 45 * 60);
}

// The date helpers of CommonFuncs: local calendar dates, absolute times, date texts.

#include "settings/CommonFuncs.h"

#include <QLocale>
#include <QTimeZone>

#include <cmath>
#include <optional>

namespace {

// Seconds between the Unix epoch and 2001-01-01 00:00:00 UTC.
constexpr double kReferenceDateOffset = 978307200.0;

std::optional<int> g_timeZoneOffset;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
std::int64_t floorMod(std::int64_t a, std::int64_t b) { return a - floorDiv(a, b) * b; }

// The local date and time; a wall time that the zone skips (a daylight-saving gap) moves
// forward by the length of the gap, as a calendar does (02:30 in a gap 02:00-03:00 gives
// 03:30). QDateTime itself gives an invalid value there.
QDateTime localDateTime(const QDate& day, const QTime& time)
{
    QDateTime result(day, time, Qt::LocalTime);
    if (result.isValid() || !day.isValid())
        return result;
    // Read the wall time with the offset in force a day before, which lies before the gap.
    const int offsetBefore = QDateTime(day.addDays(-1), time, Qt::LocalTime).offsetFromUtc();
    const qint64 wallAsUtc = QDateTime(day, time, Qt::UTC).toMSecsSinceEpoch();
    return QDateTime::fromMSecsSinceEpoch(wallAsUtc - qint64(offsetBefore) * 1000, Qt::LocalTime);
}

QDateTime localMidnight(const QDate& day) { return localDateTime(day, QTime(0, 0)); }

} // namespace

QDateTime CommonFuncs::dateFromAbsoluteTime(double seconds)
{
    if (!std::isfinite(seconds))
        return {};
    return QDateTime::fromMSecsSinceEpoch(std::llround((seconds + kReferenceDateOffset) * 1000.0), Qt::LocalTime);
}

double CommonFuncs::absoluteTimeFromDate(const QDateTime& date)
{
    if (!date.isValid())
        return 0;
    return double(date.toMSecsSinceEpoch()) / 1000.0 - kReferenceDateOffset;
}

double CommonFuncs::absoluteTimeNow() { return absoluteTimeFromDate(QDateTime::currentDateTime()); }

QString CommonFuncs::getFomattedDateString(const QDateTime& date)
{
    if (!date.isValid())
        return QLatin1String("");
    return QLocale().toString(date.toLocalTime(), QStringLiteral("MMM-dd-yyyy h:mm:ss AP"));
}

QString CommonFuncs::dateStringOnlyFromDate(const QDateTime& date)
{
    if (!date.isValid())
        return QLatin1String("");
    return date.toLocalTime().toString(QStringLiteral("MM/dd/yyyy")); // C locale digits
}

QDateTime CommonFuncs::dateFromDateOnlyString(const QString& text)
{
    const QDate day = QDate::fromString(text.trimmed(), QStringLiteral("MM/dd/yyyy"));
    return day.isValid() ? localMidnight(day) : QDateTime();
}

QString CommonFuncs::getDateTimeComponent(const QString& component, const QDateTime& fromDate)
{
    if (!fromDate.isValid())
        return QLatin1String("");
    const QDateTime local = fromDate.toLocalTime();
    const QString name = component.toUpper();
    long value = 0;
    if (name == QLatin1String("DD"))
        value = local.date().day();
    else if (name == QLatin1String("MM"))
        value = local.date().month();
    else if (name == QLatin1String("YYYY"))
        value = local.date().year();
    else if (name == QLatin1String("HH"))
        value = local.time().hour();
    else if (name == QLatin1String("MN"))
        value = local.time().minute();
    else if (name == QLatin1String("SS"))
        value = local.time().second();
    else
        return QLatin1String("");
    return QString::number(static_cast<unsigned long>(value));
}

QDateTime CommonFuncs::dateWithYear(int year, int month, int day, int hour, int minute, int second)
{
    // Months roll into years, then days (with the carry of the time) from the 1st.
    const std::int64_t monthIndex = std::int64_t(month) - 1;
    const std::int64_t y = year + floorDiv(monthIndex, 12);
    const int m = int(floorMod(monthIndex, 12)) + 1;
    const QDate first(int(y), m, 1);
    if (!first.isValid())
        return {};
    const std::int64_t seconds = std::int64_t(hour) * 3600 + std::int64_t(minute) * 60 + second;
    const std::int64_t carry = floorDiv(seconds, 86400);
    const QDate date = first.addDays(std::int64_t(day) - 1 + carry);
    const QTime time = QTime::fromMSecsSinceStartOfDay(int(floorMod(seconds, 86400)) * 1000);
    return localDateTime(date, time);
}

QDateTime CommonFuncs::firstDateFromDateBeforeMonth(const QDateTime& date, int beforeMonth)
{
    const QDate local = date.toLocalTime().date();
    return dateWithYear(local.year(), local.month() - beforeMonth, 1, 0, 0, 0);
}

QDateTime CommonFuncs::firstDateFromDateBeforeYear(const QDateTime& date, int beforeYear)
{
    return dateWithYear(date.toLocalTime().date().year() - beforeYear, 1, 1, 0, 0, 0);
}

double CommonFuncs::getTimeIntervalForDateOnlyBefore(double offset)
{
    return getTimeIntervalForDateOnlyBefore(offset, QDateTime::currentDateTime());
}

double CommonFuncs::getTimeIntervalForDateOnlyBefore(double offset, const QDateTime& now)
{
    const QDateTime moment = now.addMSecs(std::llround(offset * 1000.0)).toLocalTime();
    return absoluteTimeFromDate(localMidnight(moment.date()));
}

int CommonFuncs::localTimeZoneOffset()
{
    if (!g_timeZoneOffset)
        takeLocalTimeZoneOffset();
    return *g_timeZoneOffset;
}

void CommonFuncs::takeLocalTimeZoneOffset() { g_timeZoneOffset = QDateTime::currentDateTime().offsetFromUtc(); }

#include "reports/ReportRanges.h"

#include "reports/FileAttributes.h"
#include "scan/TFoldInfo.h"
#include "settings/CommonFuncs.h"
#include "settings/TextFormat.h"

#include <array>

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QString::fromLatin1(key)); }

// ---- sizes ----

struct SizeBucket {
    int lowNumber;
    const char* lowUnit;
    int highNumber;
    const char* highUnit;
    std::int64_t lower;
    std::int64_t upper;
};

constexpr std::int64_t KB = 1000, MB = 1000 * KB, GB = 1000 * MB, TB = 1000 * GB;
constexpr std::int64_t kNoUpperBound = -100;

constexpr std::array<SizeBucket, 18> kSizeBuckets{{
    {0, "ID_KB", 16, "ID_KB", 0, 16 * KB},
    {16, "ID_KB", 32, "ID_KB", 16 * KB, 32 * KB},
    {32, "ID_KB", 64, "ID_KB", 32 * KB, 64 * KB},
    {64, "ID_KB", 128, "ID_KB", 64 * KB, 128 * KB},
    {128, "ID_KB", 256, "ID_KB", 128 * KB, 256 * KB},
    {256, "ID_KB", 512, "ID_KB", 256 * KB, 512 * KB},
    {512, "ID_KB", 1, "ID_MB", 512 * KB, 1 * MB},
    {1, "ID_MB", 10, "ID_MB", 1 * MB, 10 * MB},
    {10, "ID_MB", 50, "ID_MB", 10 * MB, 50 * MB},
    {50, "ID_MB", 100, "ID_MB", 50 * MB, 100 * MB},
    {100, "ID_MB", 500, "ID_MB", 100 * MB, 500 * MB},
    {500, "ID_MB", 1, "ID_GB", 500 * MB, 1 * GB},
    {1, "ID_GB", 10, "ID_GB", 1 * GB, 10 * GB},
    {10, "ID_GB", 50, "ID_GB", 10 * GB, 50 * GB},
    {50, "ID_GB", 100, "ID_GB", 50 * GB, 100 * GB},
    {100, "ID_GB", 500, "ID_GB", 100 * GB, 500 * GB},
    {500, "ID_GB", 1, "ID_TB", 500 * GB, 1 * TB},
    {0, nullptr, 1, "ID_TB", 1 * TB, kNoUpperBound},
}};

QString sizeTitle(const SizeBucket& b)
{
    if (!b.lowUnit)
        return TextFormat::format(QStringLiteral("%@ - %d %@"),
                                  {text("ID_SIZE_MORE_THEN"), b.highNumber, text(b.highUnit)});
    return TextFormat::format(QStringLiteral("%d %@ - %d %@"),
                              {b.lowNumber, text(b.lowUnit), b.highNumber, text(b.highUnit)});
}

// ---- time of day ----

int clockHour(int hour) { return hour % 12 == 0 ? 12 : hour % 12; }
const char* meridiem(int hour) { return hour % 24 < 12 ? "ID_AM" : "ID_PM"; }

QString timeTitle(int hour)
{
    return TextFormat::format(QStringLiteral("%d %@ - %d %@"),
                              {clockHour(hour), text(meridiem(hour)), clockHour(hour + 1), text(meridiem(hour + 1))});
}

// ---- dates ----

double dayStart(double offset, const QDateTime& now)
{
    return CommonFuncs::getTimeIntervalForDateOnlyBefore(offset, now);
}

double firstOfMonthBack(const QDateTime& now, int months)
{
    return CommonFuncs::absoluteTimeFromDate(CommonFuncs::firstDateFromDateBeforeMonth(now, months));
}

double firstOfYearBack(const QDateTime& now, int years)
{
    return CommonFuncs::absoluteTimeFromDate(CommonFuncs::firstDateFromDateBeforeYear(now, years));
}

QString withArgument(const char* key, const QString& argument)
{
    return TextFormat::format(text(key), {argument});
}

DateRangeNode dateBucket(int index, const QDateTime& now)
{
    constexpr double kDay = 86400;
    const double tomorrow = dayStart(kDay, now);
    switch (index) {
    case 0: return {text("ID_TODAY"), dayStart(0, now), tomorrow, 0, false};
    case 1: return {text("ID_YESTERDAY"), dayStart(-kDay, now), dayStart(0, now), 1, false};
    case 2:
        return {withArgument("ID_LAST_DAYS", TextFormat::format(QStringLiteral("%d"), {7})), dayStart(-7 * kDay, now),
                tomorrow, 2, false};
    case 3:
        return {withArgument("ID_LAST_DAYS", TextFormat::format(QStringLiteral("%d"), {15})),
                dayStart(-15 * kDay, now), tomorrow, 3, false};
    case 4: return {text("ID_THIS_MONTH"), firstOfMonthBack(now, 0), tomorrow, 4, false};
    case 5: return {withArgument("ID_LAST_MONTH", QLatin1String("")), firstOfMonthBack(now, 1), tomorrow, 5, false};
    case 6:
        return {withArgument("ID_LAST_MONTH", TextFormat::format(QStringLiteral("%d "), {3})),
                firstOfMonthBack(now, 3), tomorrow, 6, false};
    case 7:
        return {withArgument("ID_LAST_MONTH", TextFormat::format(QStringLiteral("%d "), {6})),
                firstOfMonthBack(now, 6), tomorrow, 7, false};
    case 8: return {text("ID_THIS_YEAR"), firstOfYearBack(now, 0), tomorrow, 8, false};
    case 9: return {text("ID_LAST_YEAR"), firstOfYearBack(now, 1), firstOfYearBack(now, 0), 9, false};
    default: return {text("ID_MORE_THEN_2_YEARS"), firstOfYearBack(now, 1), 0, 10, true};
    }
}

// ---- attribute text ----

struct AttributeToken {
    std::uint32_t flag;
    const char* token;
};

constexpr std::array<AttributeToken, 12> kFlagTokens{{
    {ItemFlags::Invisible, "H "},
    {ItemFlags::Package, "PACKAGE "},
    {ItemFlags::Application, "APP "},
    {ItemFlags::Container, "CONTAINER "},
    {ItemFlags::AliasFile, "ALIAS "},
    {ItemFlags::SymbolicLink, "SYMLINK "},
    {ItemFlags::NativeApplication, "NATIVEAPP "},
    {ItemFlags::ClassicApplication, "CLASSICAPP "},
    {ItemFlags::PrefersNative, "PREFERSNATIVE "},
    {ItemFlags::PrefersClassic, "PREFERSCLASSIC "},
    {ItemFlags::Scriptable, "SCRIPTABLE "},
    {ItemFlags::Volume, "VOLUME "},
}};

} // namespace

std::vector<SizeRangeNode> ReportRanges::getFileSizeRangeArray()
{
    std::vector<SizeRangeNode> list;
    list.reserve(kSizeBuckets.size());
    for (int i = 0; i < int(kSizeBuckets.size()); ++i)
        addSizeRangeObject(list, i);
    return list;
}

void ReportRanges::addSizeRangeObject(std::vector<SizeRangeNode>& list, int forIndex)
{
    if (forIndex < 0 || forIndex >= int(kSizeBuckets.size()))
        return;
    const SizeBucket& b = kSizeBuckets[std::size_t(forIndex)];
    list.emplace_back(sizeTitle(b), b.lower, b.upper, forIndex);
}

std::vector<TimeRangeNode> ReportRanges::getFileTimeRangeArray()
{
    std::vector<TimeRangeNode> list;
    list.reserve(24);
    for (int hour = 0; hour < 24; ++hour)
        addTimeRangeObject(list, hour);
    return list;
}

void ReportRanges::addTimeRangeObject(std::vector<TimeRangeNode>& list, int forIndex)
{
    if (forIndex < 0 || forIndex >= 24)
        return;
    list.emplace_back(timeTitle(forIndex), forIndex * 3600.0, (forIndex + 1) * 3600.0, forIndex);
}

std::vector<DateRangeNode> ReportRanges::getFileDateRangeArray()
{
    return getFileDateRangeArray(QDateTime::currentDateTime());
}

std::vector<DateRangeNode> ReportRanges::getFileDateRangeArray(const QDateTime& now)
{
    std::vector<DateRangeNode> list;
    list.reserve(11);
    for (int i = 0; i < 11; ++i)
        addDateRangeObject(list, i, now);
    return list;
}

void ReportRanges::addDateRangeObject(std::vector<DateRangeNode>& list, int forIndex)
{
    addDateRangeObject(list, forIndex, QDateTime::currentDateTime());
}

void ReportRanges::addDateRangeObject(std::vector<DateRangeNode>& list, int forIndex, const QDateTime& now)
{
    if (forIndex < 0 || forIndex > 10)
        return;
    list.push_back(dateBucket(forIndex, now));
}

std::vector<AttributeKind> ReportRanges::getFileAttributeArray()
{
    return {
        {QStringLiteral("Readonly Files"), kReadonlyPermissions},
        {QStringLiteral("Hidden Files"), ItemFlags::Invisible},
        {QStringLiteral("Package Files"), ItemFlags::Package},
        {QStringLiteral("Applications"), ItemFlags::Application},
        {QStringLiteral("Container"), ItemFlags::Container},
        {QStringLiteral("Alias Files"), ItemFlags::AliasFile},
        {QStringLiteral("Symlink Files"), ItemFlags::SymbolicLink},
        {QStringLiteral("Native Apps"), ItemFlags::NativeApplication},
        {QStringLiteral("Classic Apps"), ItemFlags::ClassicApplication},
        {QStringLiteral("Prefers Native"), ItemFlags::PrefersNative},
        {QStringLiteral("Prefers Classic"), ItemFlags::PrefersClassic},
        {QStringLiteral("Scriptable"), ItemFlags::Scriptable},
        {QStringLiteral("Volume"), ItemFlags::Volume},
        {QStringLiteral("Normal Files"), ItemFlags::PlainFile},
    };
}

QString ReportRanges::GetAttributes(TFoldInfo* node)
{
    if (!node)
        return QString();
    const FileAttributes::Permissions permissions = FileAttributes::posixPermissions(*node);
    QString out;
    if (permissions.source == FileAttributes::Source::Failed)
        out += QLatin1String("Unknown");
    else if (permissions.bits == kReadonlyPermissions)
        out += QLatin1String("R ");
    const std::uint32_t flags = node->itemAttrInfo().flags;
    for (const AttributeToken& t : kFlagTokens)
        if (flags & t.flag)
            out += QLatin1String(t.token);
    return out;
}

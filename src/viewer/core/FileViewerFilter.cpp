#include "viewer/core/FileViewerFilter.h"

#include "scan/TFoldInfo.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/Log.h"

#include <QRegularExpression>

#include <utility>

namespace FileViewerFilter {

namespace {

std::int64_t bytesOf(const QString& text, int unit)
{
    return GeneralLib::getSizeForFilterInByteFor(QVariant(text.trimmed()), unit);
}

bool hasText(const QString& text) { return !text.trimmed().isEmpty(); }

// Local midnight starting the day written in the text, `days` days later; absent when the
// text is no "MM/dd/yyyy" date. Days are counted on the calendar, so a 23- or 25-hour day
// still ends at the next midnight.
std::optional<double> startOfDay(const QString& text, int days)
{
    const QDateTime day = CommonFuncs::dateFromDateOnlyString(text);
    if (!day.isValid())
        return std::nullopt;
    const QDate d = day.date();
    const QDateTime start = CommonFuncs::dateWithYear(d.year(), d.month(), d.day() + days, 0, 0, 0);
    if (!start.isValid())
        return std::nullopt;
    return CommonFuncs::absoluteTimeFromDate(start);
}

bool nameMatches(const TFoldInfo& node, const QString& lowerName)
{
    return lowerName.isEmpty() || node.sName().toLower() == lowerName;
}

bool compareMatches(std::uint64_t size, int op, std::int64_t value)
{
    switch (op) {
    case 0: return std::cmp_equal(size, value);
    case 1: return std::cmp_less(size, value);
    case 2: return std::cmp_less_equal(size, value);
    case 3: return std::cmp_greater(size, value);
    case 4: return std::cmp_greater_equal(size, value);
    default: return true;
    }
}

bool sizeMatches(const TFoldInfo& node, const FileViewerFilterCondition& c)
{
    const std::uint64_t size = node.cSize();
    switch (c.sizeFilterType) {
    case 1: return std::cmp_less_equal(c.lowerBytes, size) && std::cmp_less_equal(size, c.upperBytes);
    case 2: return compareMatches(size, c.comparisionOperator, c.compareBytes);
    default: return true;
    }
}

bool dateMatches(const TFoldInfo& node, const FileViewerFilterCondition& c)
{
    double time = 0;
    switch (c.dateTypeForFilter) {
    case 0: time = node.lATime(); break;
    case 1: time = node.lMTime(); break;
    case 2: time = node.cTime(); break;
    default: return true;
    }
    return (!c.fromTime || *c.fromTime <= time) && (!c.toTime || time <= *c.toTime);
}

} // namespace

bool validateStringIsNumber(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?\\s*$"));
    return number.match(text).hasMatch();
}

QString numberCheckedText(const QString& text)
{
    if (text.isEmpty() || validateStringIsNumber(text))
        return text;
    return text.left(text.size() - 1);
}

bool hasRequiredSizeValues(const FileViewerFilterValues& values)
{
    switch (values.sizeFilterType) {
    case 0: return true;
    case 1: return hasText(values.fileSizeMin) && hasText(values.fileSizeMax);
    case 2: return hasText(values.fileSizeForComparision);
    default:
        qvlog(QStringLiteral("default btnApplyFilterTapped"));
        return false;
    }
}

FileViewerFilterCondition makePredicateForFileter(const FileViewerFilterValues& values)
{
    FileViewerFilterCondition c;
    c.lowerName = values.fileName.trimmed().toLower();
    c.sizeFilterType = values.sizeFilterType;
    c.lowerBytes = bytesOf(values.fileSizeMin, values.sizeUnitForFilter);
    c.upperBytes = bytesOf(values.fileSizeMax, values.sizeUnitForFilter);
    c.comparisionOperator = values.comparisionOperator;
    c.compareBytes = bytesOf(values.fileSizeForComparision, values.sizeUnitForComparision);
    c.dateTypeForFilter = values.dateTypeForFilter;
    if (c.sizeFilterType < 0 || c.sizeFilterType > 2)
        qvlog(QStringLiteral("default options.fileViewerFilter.sizeFilterType"));
    if (c.dateTypeForFilter < 0 || c.dateTypeForFilter > 3)
        qvlog(QStringLiteral("default options.fileViewerFilter.dateTypeForFilter"));
    if (c.dateTypeForFilter >= 0 && c.dateTypeForFilter <= 2) {
        c.fromTime = startOfDay(values.dateFrom, 0);
        c.toTime = startOfDay(values.dateTo, 1);
    }
    return c;
}

bool matches(const TFoldInfo& node, const FileViewerFilterCondition& condition)
{
    return nameMatches(node, condition.lowerName) && sizeMatches(node, condition)
           && dateMatches(node, condition);
}

NodeList filteredNodes(const NodeList& list, const FileViewerFilterValues& values)
{
    const FileViewerFilterCondition condition = makePredicateForFileter(values);
    NodeList result;
    for (TFoldInfo* node : list)
        if (node && matches(*node, condition))
            result.push_back(node);
    qvlog(QStringLiteral("arrFilteredFiles : %1").arg(result.size()));
    const int top = values.topFilteredFileCount;
    if (top > 0 && result.size() > std::size_t(top))
        result.resize(std::size_t(top));
    return result;
}

} // namespace FileViewerFilter

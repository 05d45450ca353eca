#pragma once

#include "reports/ReportRows.h"

#include <QString>

#include <cstdint>
#include <optional>

class TFoldInfo;

// The file viewer's filter: up to four conditions on the files of the viewer's list (a
// name, a size range or comparison, a date range on one of the three file times, and a
// count N of matches to keep). Everything here is plain data and plain functions, so the
// filter runs and is tested without any window.

// What the filter panel holds: the six numbers the settings cache keeps and the texts of
// the panel's fields and date labels.
struct FileViewerFilterValues {
    QString fileName;                // empty: any name
    int sizeFilterType = 0;          // 0 no size condition, 1 range, 2 comparison
    QString fileSizeMin;             // range bounds (number texts) ...
    QString fileSizeMax;
    int sizeUnitForFilter = 1;       // ... in this unit: 0 bytes, 1 KB, 2 MB, 3 GB
    int comparisionOperator = 0;     // 0 =, 1 <, 2 <=, 3 >, 4 >=
    QString fileSizeForComparision;  // value compared with (number text) ...
    int sizeUnitForComparision = 1;  // ... in this unit
    int dateTypeForFilter = 3;       // 0 lATime, 1 lMTime, 2 cTime, 3 no date condition
    QString dateFrom;                // first day of the range, "MM/dd/yyyy"
    QString dateTo;                  // last day of the range, "MM/dd/yyyy"
    int topFilteredFileCount = 0;    // 0 every match; N > 0 the first N
};

// The condition resolved once from the panel's values, for testing many nodes.
struct FileViewerFilterCondition {
    QString lowerName;               // trimmed and lower-cased; empty: any name
    int sizeFilterType = 0;
    std::int64_t lowerBytes = 0;     // range, both ends included
    std::int64_t upperBytes = 0;
    int comparisionOperator = 0;
    std::int64_t compareBytes = 0;
    int dateTypeForFilter = 3;
    std::optional<double> fromTime;  // absolute times; an unreadable day leaves its side open
    std::optional<double> toTime;
};

namespace FileViewerFilter {

// validateStringIsNumber: true when a decimal floating-point number ("12", "-1.5", ".5",
// "2e3") can be read from the start of the text and only white space follows it.
bool validateStringIsNumber(const QString& text);

// The number check of a size field after a change: a text that is neither empty nor a
// number loses its last character (once per change); any other text is returned as is.
QString numberCheckedText(const QString& text);

// True when the size condition has the values it needs: a comparison needs its value, a
// range both bounds, no size condition nothing. An unknown condition type never has them.
bool hasRequiredSizeValues(const FileViewerFilterValues& values);

// makePredicateForFileter: resolves the panel's values into a condition. Size texts count
// by their integer part in their unit ("1.9" MB is 1000000 bytes; no integer part is 0).
// The date range runs from local midnight at the start of the "from" day to local midnight
// at the start of the day after the "to" day, both included, whatever the day's length.
FileViewerFilterCondition makePredicateForFileter(const FileViewerFilterValues& values);

// True when the node meets all three tests of the condition: its whole name equals the
// name ignoring letter case; its cSize lies in the range or meets the comparison (compared
// as exact integers, so a negative bound behaves as on a number line); its chosen time lies
// in the date range. Unknown condition types and operators pass.
bool matches(const TFoldInfo& node, const FileViewerFilterCondition& condition);

// The nodes of the list that match, in list order, cut to the first N when the values ask
// for a top count.
NodeList filteredNodes(const NodeList& list, const FileViewerFilterValues& values);

} // namespace FileViewerFilter

#pragma once

#include "reports/RangeNodes.h"

#include <QDateTime>
#include <QString>

#include <vector>

class TFoldInfo;

// The bucket tables of the size, time-of-day and date reports, the attribute kinds and the
// per-file attribute text. Stateless: every table is built anew on each call, with its
// labels taken from the interface text table at that moment, so a changed text shows in
// the next report.
//
// (These are the range operations the design files under GeneralLib; they live here, with
// the reports that use them, so the settings cache stays free of report code.)
class ReportRanges {
public:
    // ---- sizes: 18 buckets, srNo 0 to 17, decimal units (1 KB = 1000 bytes) ----

    // New list of the 18 size buckets in srNo order: "0 KB - 16 KB" ... "500 GB - 1 TB",
    // and a last bucket from 1 TB with no upper bound, titled "<ID_SIZE_MORE_THEN> - 1 TB".
    static std::vector<SizeRangeNode> getFileSizeRangeArray();
    // addSizeRangeObject:forIndex: appends bucket `index` (0 to 17; others append nothing).
    static void addSizeRangeObject(std::vector<SizeRangeNode>& list, int forIndex);

    // ---- time of day: 24 buckets, srNo = hour ----

    // New list of the 24 hour buckets: bucket h covers h*3600 to (h+1)*3600 seconds after
    // local midnight, titled on the 12-hour clock ("12 AM - 1 AM" ... "11 PM - 12 AM").
    static std::vector<TimeRangeNode> getFileTimeRangeArray();
    // addTimeRangeObject:forIndex: appends bucket `index` (0 to 23; others append nothing).
    static void addTimeRangeObject(std::vector<TimeRangeNode>& list, int forIndex);

    // ---- dates: 11 overlapping ranges computed from "now" in the local time zone ----

    // New list of the 11 date buckets in srNo order (today, yesterday, last 7 and 15 days,
    // this month, last month, last 3 and 6 months, this year, last year, more than two
    // years). The second form takes "now" from the caller.
    static std::vector<DateRangeNode> getFileDateRangeArray();
    static std::vector<DateRangeNode> getFileDateRangeArray(const QDateTime& now);
    // addDateRangeObject:forIndex: appends bucket `index` (0 to 10; others append nothing).
    static void addDateRangeObject(std::vector<DateRangeNode>& list, int forIndex);
    static void addDateRangeObject(std::vector<DateRangeNode>& list, int forIndex, const QDateTime& now);

    // ---- attributes ----

    // The 14 attribute kinds in report order: "Readonly Files" (292), "Hidden Files"
    // (0x40), "Package Files" (0x2), "Applications" (0x4), "Container" (0x8), "Alias Files"
    // (0x10), "Symlink Files" (0x20), "Native Apps" (0x80), "Classic Apps" (0x100), "Prefers
    // Native" (0x200), "Prefers Classic" (0x400), "Scriptable" (0x800), "Volume" (0x1000),
    // "Normal Files" (0x1).
    static std::vector<AttributeKind> getFileAttributeArray();

    // GetAttributes: the attribute text of the file explorer: "R " (permissions 0444), "H ",
    // "PACKAGE ", "APP ", "CONTAINER ", "ALIAS ", "SYMLINK ", "NATIVEAPP ", "CLASSICAPP ",
    // "PREFERSNATIVE ", "PREFERSCLASSIC ", "SCRIPTABLE ", "VOLUME " for each flag held, in
    // that order. When the node's attribute dictionary had to be read now and the read
    // failed, the text starts with "Unknown" (no blank after it) and "R " is left out.
    static QString GetAttributes(TFoldInfo* node);
};

#pragma once

#include "base/FieldTable.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <optional>

class TFoldInfo;

// Class operations shared by every subsystem: sizes in the user's display unit, numbers,
// dates, the interface texts, the primitive settings accessors and a few small helpers.
// Every size shown anywhere goes through the size operations here.
//
// Sizes are decimal (1 KB = 1000 bytes). Unit names are the texts of "ID_BYTES", "ID_KB",
// "ID_MB", "ID_GB" and "ID_TB". Numbers shown with fraction digits follow the default
// QLocale's decimal separator (the user's locale), without digit grouping.
//
// Dates are QDateTime values in local time; node times are absolute times (seconds since
// 2001-01-01 00:00:00 UTC), converted with dateFromAbsoluteTime() / absoluteTimeFromDate().
class CommonFuncs {
public:
    // ---- display unit codes (the values of "allDiskReports", "diskReportSummary",
    // "folderTree"): any other value behaves as Automatic ----
    enum DisplayUnit { Automatic = 0, Bytes = 1, KB = 2, MB = 3, GB = 4 };

    // ---- settings accessors (the store of SettingsStore) ----

    // The value stored under the key (or its registered default); invalid when none.
    static QVariant standardObjectForKey(const QString& key);
    // setStandardObject:ForKey: stores the value and writes the store at once. False when
    // the write failed (logged).
    static bool setStandardObject(const QVariant& value, const QString& ForKey);
    // archivedObject:forKey: stores the sort descriptor in its archived form (see
    // archiveSortDescriptor) under the key and writes the store.
    static bool archivedObject(const SortDescriptor& object, const QString& forKey);
    // The sort descriptor archived under the key; absent when there is no value, the data
    // is empty, or it is not an archived sort descriptor.
    static std::optional<SortDescriptor> unarchiveObjectForKey(const QString& key);
    // The archived form: the compact JSON object {"ascending":false,"key":"cSize"} as bytes.
    static QByteArray archiveSortDescriptor(const SortDescriptor& descriptor);
    static std::optional<SortDescriptor> unarchiveSortDescriptor(const QByteArray& data);

    // ---- interface texts (the table ":/QVL_EN.plist", loaded once) ----

    // The text of the key with "{0}" ... "{4}" each turned into "%@", so the text can serve
    // as a format for TextFormat::format. "(null)" for a key the table lacks (and for every
    // key when the table cannot be loaded).
    static QString getLocalizedStringForKey(const QString& key);
    // Loads the table if it is not loaded yet.
    static void loadLanguageDict();
    // The texts of a table file's bytes (placeholders turned into "%@"); entries that are
    // not texts are skipped. Absent (and *error set) when the bytes are not a property list
    // whose root is a dictionary.
    static std::optional<QHash<QString, QString>> parseTextTable(const QByteArray& xml, QString* error);
    // Turns "{0}" ... "{4}" into "%@".
    static QString replaceOccuranceOfSpecialCharacter(const QString& text);
    // True when the table has a text for the key.
    static bool hasLocalizedStringForKey(const QString& key);
    // Every key of the table, sorted.
    static QStringList localizedStringKeys();
    // Keys asked for through getLocalizedStringForKey that the table lacks, in the order
    // first asked (tests check it stays empty).
    static QStringList missingLocalizedStringKeys();

    // ---- sizes ----

    // The unit base: always 1000. The main window sets it at start-up as the design does;
    // any other value is ignored (and logged), so every size stays decimal.
    static float unitBase();
    static void setUnitBase(float base);

    // sizeUnitFor:size: the size in the display unit code: Bytes "<n> Bytes", KB/MB/GB the
    // fixed units below, anything else unitForSize().
    static QString sizeUnitFor(int code, std::uint64_t size);
    // The size with an automatic unit: divide by 1000 while the value is 1000 or more
    // (staying in TB at the top), truncate to two decimals, and show a value of 970 and
    // more as 0.97 / 0.98 / 0.99 of the next unit. Bytes without decimals ("969 Bytes"),
    // other units with "decimalPlaces" digits ("1.50 KB"); 0 gives "0 Bytes".
    static QString unitForSize(std::uint64_t bytes);
    // Fixed units, with "decimalPlaces" digits and no truncation: "1.50 KB".
    static QString sizeUnitInKB(std::uint64_t bytes);
    static QString sizeUnitInMB(std::uint64_t bytes);
    static QString sizeUnitInGB(std::uint64_t bytes);
    // Volume capacities: automatic unit without truncation or the 0.97 rule, no fraction
    // digits whatever "decimalPlaces" says ("500 GB").
    static QString unitForSizeDriveSize(std::uint64_t bytes);

    // The number with exactly "decimalPlaces" fraction digits (the cached setting), rounded
    // half to even on the decimal value shown, no grouping.
    static QString sizeWithFractionDigits(double value);
    // The same with a given number of digits (0 to 15).
    static QString numberWithFractionDigits(double value, int digits);
    // The number with exactly two fraction digits (percentages).
    static QString roundingNumber(double value);
    // The value, or 1 when it is 0 (guards divisions).
    static std::uint64_t denominator(std::uint64_t value);

    // ---- dates ----

    // Absolute time (seconds since 2001-01-01 00:00:00 UTC) <-> local date and time.
    static QDateTime dateFromAbsoluteTime(double seconds);
    static double absoluteTimeFromDate(const QDateTime& date);
    static double absoluteTimeNow();

    // "MMM-dd-yyyy h:mm:ss a" in the local time zone ("Mar-05-2024 3:04:05 PM"); the empty
    // string for an invalid date.
    static QString getFomattedDateString(const QDateTime& date);
    // "MM/dd/yyyy" in the local time zone; the empty string for an invalid date.
    static QString dateStringOnlyFromDate(const QDateTime& date);
    // The "MM/dd/yyyy" text back to local midnight of that day; invalid when it does not
    // parse.
    static QDateTime dateFromDateOnlyString(const QString& text);
    // getDateTimeComponent:fromDate: one component as unsigned decimal text. Names compared
    // without regard to case: "DD" day, "MM" month, "YYYY" year, "HH" hour (0-23), "MN"
    // minute, "SS" second; any other name (or an invalid date) gives the empty string.
    static QString getDateTimeComponent(const QString& component, const QDateTime& fromDate);
    // dateWithYear:month:day:hour:minute:second: the local date and time of the Gregorian
    // calendar; out-of-range fields roll over into the next larger field (month 0 is
    // December of the year before, day 0 the last day of the month before, hour 24 the next
    // day). A wall time that the local zone skips (a daylight-saving gap) moves forward.
    static QDateTime dateWithYear(int year, int month, int day, int hour, int minute, int second);
    // firstDateFromDate:beforeMonth: / firstDateFromDate:beforeYear: (the keywords joined,
    // as both take the same arguments).
    // 00:00:00 on the 1st of the month n months before the date's month (local time).
    static QDateTime firstDateFromDateBeforeMonth(const QDateTime& date, int beforeMonth);
    // 00:00:00 on 1 January of the year n years before the date's year (local time).
    static QDateTime firstDateFromDateBeforeYear(const QDateTime& date, int beforeYear);
    // Local midnight at the start of the day that contains now + offset seconds, as an
    // absolute time. The second form takes "now" from the caller.
    static double getTimeIntervalForDateOnlyBefore(double offset);
    static double getTimeIntervalForDateOnlyBefore(double offset, const QDateTime& now);

    // The local time zone's offset from UTC in seconds, taken once (at start-up, or on the
    // first call) and then used for every time of day whatever its date.
    static int localTimeZoneOffset();
    // Takes the offset again from the current local zone (start-up; tests that change TZ).
    static void takeLocalTimeZoneOffset();

    // ---- small helpers ----

    // True when the text is not null, not empty and not "(null)" in any letter case.
    static bool strExist(const QString& text);
    // The node's hidden (invisible) item flag.
    static bool isItemHidden(const TFoldInfo* node);
    // True when at least one row's check box is on (state() != 0).
    template <class Rows>
    static bool isItemsSelectedForOpration(const Rows& rows)
    {
        for (const auto& row : rows)
            if (row && row->state() != 0)
                return true;
        return false;
    }
    // Every non-folder item below the folder, depth first: entries in the order the
    // folder's listing gives them, a subfolder's items in its place. Hidden items are
    // included. The folder test follows symbolic links, so a link to a folder is descended
    // into; a link back to a folder already being walked (a cycle) contributes nothing, as
    // does a folder that cannot be listed.
    static QStringList getHierarchyOfPaths(const QString& folderPath);

    // Remembers that the user granted access to the path: appends it to "savedPaths" (once)
    // and writes the store. A path that does not exist is not remembered. (Linux has no
    // sandbox: the path text stands in for a security-scoped bookmark.)
    static bool saveBookmarkPath(const QString& path);
    // True when the path can be read now (no sandbox on Linux: a readable item needs no
    // bookmark); false when it does not exist or cannot be read.
    static bool loadFromBookmarkPath(const QString& path);
};

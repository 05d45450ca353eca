#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// One named group of file-name extensions of the type catalog.
struct TypeGroup {
    QString name;           // display name (a default group: the text of its key when written)
    QStringList extensions; // without the leading dot, as written (readers lower-case them)
    bool operator==(const TypeGroup&) const = default;
};
using TypeGroups = QList<TypeGroup>;

// The type catalog "file_extns.plist" in the documents folder: named groups of extensions,
// in the order the file stores them (which readers keep, so results are repeatable).
//
// A file that cannot be read or parsed, or whose root is not a dictionary, is an empty
// catalog; it is never overwritten except by makeExtnFile (a reset), so nothing the user
// had is lost behind their back.
class TypeCatalog {
public:
    static QString filePath();

    // The text key and extensions of each of the sixteen default groups, in their order.
    struct DefaultGroup {
        const char* nameKey;
        QStringList extensions;
    };
    static const QList<DefaultGroup>& defaultGroupDefinitions();
    // The sixteen default groups named by the current texts of their keys.
    static TypeGroups defaultGroups();

    // Writes the sixteen default groups atomically, replacing any existing file. False
    // when the file could not be written (logged).
    static bool makeExtnFile();
    // The catalog file in stored order; absent (and *error set) when it cannot be read.
    // A group whose value is not an array has no extensions; items that are not texts are
    // skipped.
    static std::optional<TypeGroups> readCatalogFile(QString* error = nullptr);

    // Writes the default file when none exists, then loads the file into the process-wide
    // groups (empty when unreadable, with a log line) and calls the loaded handler.
    static void readAndUpdateGlobalsForParsing();
    // Logs "resetCustomSettings", writes the default file, then loads it as above.
    static void resetCustomSettings();

    // The groups of the last load, in stored order (empty before the first load and after
    // loading an unreadable file). Main thread only.
    static const TypeGroups& loadedGroups();
    // Whether the last load found a readable catalog.
    static bool lastLoadSucceeded();
    // Called with the groups after every load (the filter predicates rebuild their tables
    // here). One handler; setting another replaces it; an empty function removes it.
    static void setGroupsLoadedHandler(std::function<void(const TypeGroups&)> handler);
};

// One row of the Custom Filter pane: a group name and its extensions joined by ",".
struct CustomTypeFilterRow {
    QString filter;
    QString types;
    bool operator==(const CustomTypeFilterRow&) const = default;
};

// The catalog file operations of the Custom Filter pane, without any windowing code: the
// pane calls these and shows the alerts. Every operation reads the file afresh; when the
// file cannot be read nothing is written and the operation answers false.
class CustomTypeFilter {
public:
    // The pane's rows from the file, in stored order, without the group named by the text
    // of "ID_WITHOUT_EXT". Empty when the file cannot be read.
    static QList<CustomTypeFilterRow> readCustomTypeFilter();
    // The extensions joined with "," and no spaces; "" for none.
    static QString stringObjectFromArrayOfStrings(const QStringList& extensions);
    // The text split at every "," with no trimming and no case change ("a,,b" gives three
    // entries, the middle one empty).
    static QStringList arrayObjectFromFilterTypeString(const QString& text);
    // True when a group name of the file equals the trimmed name, ignoring case.
    static bool isFilterExist(const QString& name);
    // addNewCustomTypeFilter:filterFileTypes: stores the split extension text under the
    // name (appended; an existing group of exactly that name is replaced in place) and
    // writes the file. False when the file is unreadable or could not be written.
    static bool addNewCustomTypeFilter(const QString& name, const QString& filterFileTypes);
    // Replaces the extensions of the group whose name equals `name` exactly and rewrites the
    // file (also when no group matches: the file is rewritten unchanged).
    static bool updateCustomTypeFilterFile(const QString& name, const QString& types);
    // Removes the group whose name equals `name` exactly and rewrites the file.
    static bool deleteCustomTypeFilter(const QString& name);
};

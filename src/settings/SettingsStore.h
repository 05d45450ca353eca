#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <cstdint>

class QSettings;

// The per-user settings store: a persistent key-value map kept with QSettings in
// "$XDG_CONFIG_HOME/Quorvel/Quorvel.conf", plus a layer of registered defaults.
//
// Registered defaults live in memory only: a key reads its registered default until a
// value is stored under it, and registering writes nothing to disk. So a fresh user's file
// holds only what the program explicitly stored.
//
// The store is used from the main thread only (panes, file viewer, start-up).
//
// QSettings gives numbers and booleans back as strings in a new process; the typed
// readers below convert them, so callers never see the difference.
class SettingsStore {
public:
    // The value stored under the key, or its registered default, or an invalid QVariant.
    static QVariant value(const QString& key);
    // Only what is stored on disk (no registered default); invalid when nothing is.
    static QVariant storedValue(const QString& key);
    static bool isStored(const QString& key);

    // Stores the value and writes the store to disk at once. Returns false when the file
    // could not be written (a line naming the file and the cause is logged); the value then
    // still reads back in this process, and an existing file is left as it was.
    // A settings file that cannot be parsed is moved aside to "<file>.broken-<time>" before
    // the first change (logged), and the keys that could be read are carried over. A file
    // that parses but would not be written back the same (lines the reader skips) is copied
    // to "<file>.backup-<time>" before it is rewritten (logged).
    static bool setValue(const QString& key, const QVariant& value);
    // Removes the stored value (the key reads its registered default again) and writes.
    static bool remove(const QString& key);

    // Adds the entries to the registered defaults, replacing earlier ones for the same keys.
    static void registerDefaults(const QVariantMap& defaults);
    static QVariant registeredDefault(const QString& key);

    // Integer reading of a value: numbers truncated toward zero, booleans 0 or 1, a text
    // its integer value ("12", "12.7" -> 12, "true" -> 1); anything else, a text that is not
    // a number included, reads as 0. Missing keys read their registered default, else 0.
    static std::int64_t integerForKey(const QString& key);
    // A text value; numbers give their decimal text; missing keys read the registered
    // default, else the empty string (never a null string).
    static QString stringForKey(const QString& key);
    // The integer conversion above, applied to any value.
    static std::int64_t toInteger(const QVariant& value);

    // Path of the settings file.
    static QString filePath();

    // Removes every stored value and forgets every registered default, as for a brand-new
    // user. Used by tests and by a full reset.
    static bool clearAll();

private:
    static bool sync(QSettings& settings, const QString& what);
};

#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// XML property lists, the format of every file Quorvel writes.
//
// In memory a property list is a QVariant tree: QVariantMap (dict), QVariantList (array),
// QString (string), bool, qint64 / quint64 (integer), double (real), QDateTime (date) and
// QByteArray (data). Keys of a dict keep their order only as QVariantMap sorts them, which
// matches how property-list writers order dictionary keys.
namespace Plist {

struct ReadResult {
    std::optional<QVariant> value; // absent when the file could not be read or parsed
    QString error;                 // why, when value is absent
    explicit operator bool() const { return value.has_value(); }
};

// Parses XML property-list text.
ReadResult fromXml(const QByteArray& xml);

// Reads and parses the file at path.
ReadResult readFile(const QString& path);

// Serialises a value as XML property-list text.
QByteArray toXml(const QVariant& value);

// Writes the value atomically (a temporary file renamed over the target), creating the
// target's folder when missing. Returns false and sets *error when it could not.
bool writeFile(const QString& path, const QVariant& value, QString* error = nullptr);

// Convenience for the common case of a dictionary at the root: an empty map when the file
// is missing or is not a dictionary.
QVariantMap readDictionary(const QString& path, QString* error = nullptr);

// Reads an array of strings from a dictionary entry (non-string items are skipped).
QStringList stringList(const QVariantMap& dict, const QString& key);

} // namespace Plist

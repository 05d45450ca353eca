#pragma once

#include <QString>
#include <QVariant>

#include <optional>
#include <utility>

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

// How deeply arrays and dictionaries may nest. Quorvel's own files nest a few levels; a
// deeper file is refused whole (with an error saying so) rather than risking the stack.
constexpr int kMaxNesting = 128;

// Parses XML property-list text.
ReadResult fromXml(const QByteArray& xml);

// Reads and parses the file at path. Only a regular file of at most 64 MiB is read (a
// pipe or a device is refused with an error, never waited on); ":/..." names a resource.
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

// A root dictionary with its keys in the order the file holds them (QVariantMap sorts).
// A key that the file repeats keeps its first place and its first value.
using OrderedDict = QList<std::pair<QString, QVariant>>;

// Reads a file whose root is a dictionary, keeping the stored key order. Absent (and *error
// set) when the file cannot be read or parsed or its root is not a dictionary.
std::optional<OrderedDict> readOrderedDictionary(const QString& path, QString* error = nullptr);

// Writes the entries as a root dictionary in their list order, atomically as writeFile.
bool writeOrderedDictionary(const QString& path, const OrderedDict& dict, QString* error = nullptr);

} // namespace Plist

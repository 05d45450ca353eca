#include "settings/Plist.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QTimeZone>

#include <plist/plist.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>

namespace {

// The largest stored property list read; Quorvel's own are a few kilobytes.
constexpr qint64 kMaxFileSize = qint64(64) << 20;

// Seconds between the Unix epoch and 2001-01-01 00:00:00 UTC, the property-list epoch.
constexpr qint64 kPlistEpochOffset = 978307200;

struct PlistDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

QVariant toVariant(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t v = 0;
        plist_get_bool_val(node, &v);
        return bool(v);
    }
    case PLIST_UINT: {
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        // libplist keeps integers as unsigned 64-bit values and writes values of 2^63 and
        // more as negative numbers; read them back the way they were written.
        return qint64(v);
    }
    case PLIST_REAL: {
        double v = 0;
        plist_get_real_val(node, &v);
        return v;
    }
    case PLIST_STRING: {
        // Read with its stored length: the copying getter aborts the process when the
        // bytes hold a NUL (parseXml refuses such text, this keeps a stray one harmless).
        uint64_t length = 0;
        const char* s = plist_get_string_ptr(node, &length);
        return QString::fromUtf8(s, s ? qsizetype(length) : 0);
    }
    case PLIST_DATA: {
        char* bytes = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        QByteArray data(bytes, qsizetype(length));
        free(bytes);
        return data;
    }
    case PLIST_DATE: {
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        return QDateTime::fromMSecsSinceEpoch((qint64(sec) + kPlistEpochOffset) * 1000 + usec / 1000,
                                              QTimeZone::utc());
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t n = plist_array_get_size(node);
        list.reserve(n);
        for (uint32_t i = 0; i < n; ++i)
            list.append(toVariant(plist_array_get_item(node, i)));
        return list;
    }
    case PLIST_DICT: {
        // Keys have no getter that takes a length; parseXml keeps NUL bytes out of them.
        QVariantMap map;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        for (;;) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, it, &key, &value);
            if (!key)
                break;
            map.insert(QString::fromUtf8(key), toVariant(value));
            free(key);
        }
        free(it);
        return map;
    }
    default:
        return {};
    }
}

plist_t fromVariant(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return plist_new_bool(value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return plist_new_uint(uint64_t(value.toLongLong()));
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
        return plist_new_uint(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return plist_new_real(value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray data = value.toByteArray();
        return plist_new_data(data.constData(), uint64_t(data.size()));
    }
    case QMetaType::QDateTime: {
        const qint64 ms = value.toDateTime().toMSecsSinceEpoch() - kPlistEpochOffset * 1000;
        const qint64 sec = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
        return plist_new_date(int32_t(sec), int32_t((ms - sec * 1000) * 1000));
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        plist_t array = plist_new_array();
        for (const QVariant& item : value.toList())
            plist_array_append_item(array, fromVariant(item));
        return array;
    }
    case QMetaType::QVariantMap: {
        plist_t dict = plist_new_dict();
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            plist_dict_set_item(dict, it.key().toUtf8().constData(), fromVariant(it.value()));
        return dict;
    }
    default:
        return plist_new_string(value.toString().toUtf8().constData());
    }
}

// Skips from `at` (just after "<") past the end of a markup item that holds no elements:
// a comment, a CDATA section, a processing instruction or a declaration. Returns the index
// after it, or -1 when `at` starts an element tag.
qsizetype skipNonElement(const QByteArray& xml, qsizetype at)
{
    const auto past = [&](const char* end, qsizetype from) {
        const qsizetype found = xml.indexOf(end, from);
        return found < 0 ? xml.size() : found + qsizetype(qstrlen(end));
    };
    if (xml.mid(at, 3) == "!--")
        return past("-->", at + 3);
    if (xml.mid(at, 8) == "![CDATA[")
        return past("]]>", at + 8);
    if (at < xml.size() && (xml[at] == '?' || xml[at] == '!'))
        return past(">", at);
    return -1;
}

// How deeply the text nests its <array> and <dict> elements, measured on the text itself
// so that a hostile file is refused before any tree is built from it: the parser, the
// conversion below and freeing the parsed tree all recurse once per level.
int nestingDepth(const QByteArray& xml)
{
    int depth = 0;
    int deepest = 0;
    for (qsizetype at = xml.indexOf('<'); at >= 0 && at < xml.size(); at = xml.indexOf('<', at)) {
        ++at;
        if (const qsizetype next = skipNonElement(xml, at); next >= 0) {
            at = next;
            continue;
        }
        const bool closing = at < xml.size() && xml[at] == '/';
        const qsizetype nameStart = closing ? at + 1 : at;
        qsizetype nameEnd = nameStart;
        while (nameEnd < xml.size() && (std::isalnum(static_cast<unsigned char>(xml[nameEnd])) || xml[nameEnd] == '_'))
            ++nameEnd;
        const QByteArray name = xml.mid(nameStart, nameEnd - nameStart);
        const qsizetype close = xml.indexOf('>', nameEnd);
        at = close < 0 ? xml.size() : close + 1;
        if (name != "array" && name != "dict")
            continue;
        if (closing)
            depth = qMax(0, depth - 1);
        else if (close < 0 || xml[close - 1] != '/')
            deepest = qMax(deepest, ++depth);
    }
    return deepest;
}

// Parses XML property-list text; null (and *error set) when it is empty, nested too
// deeply or not a property list.
PlistPtr parseXml(const QByteArray& xml, QString* error)
{
    if (xml.trimmed().isEmpty()) {
        *error = QStringLiteral("empty property list");
        return nullptr;
    }
    // XML has no NUL character, not even as a reference, yet the parser copies a raw one
    // into strings and keys, where it would cut a key short or stop the process.
    if (const qsizetype nul = xml.indexOf('\0'); nul >= 0) {
        *error = QStringLiteral("holds a NUL byte (at byte %1), which no property list may contain").arg(nul);
        return nullptr;
    }
    if (nestingDepth(xml) > Plist::kMaxNesting) {
        *error = QStringLiteral("arrays and dictionaries nested more than %1 levels deep").arg(Plist::kMaxNesting);
        return nullptr;
    }
    plist_t root = nullptr; // a failed parse leaves it untouched, so it must start out null
    plist_from_xml(xml.constData(), uint32_t(xml.size()), &root);
    if (!root)
        *error = QStringLiteral("not a valid XML property list");
    return PlistPtr(root);
}

// The whole content of a stored file. Only a regular file is read, and only up to a size
// no property list of ours comes near: a named pipe would block the reader and a device
// such as /dev/zero would never end. Qt resources (":/...") are read as they are.
std::optional<QByteArray> readStoredFile(const QString& path, QString* error)
{
    if (path.startsWith(QLatin1Char(':'))) {
        QFile resource(path);
        if (!resource.open(QIODevice::ReadOnly)) {
            *error = resource.errorString();
            return std::nullopt;
        }
        return resource.readAll();
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    QFile file;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        *error = QStringLiteral("not a regular file");
    else if (st.st_size > kMaxFileSize)
        *error = QStringLiteral("larger than %1 MiB").arg(kMaxFileSize >> 20);
    else if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        *error = file.errorString();
    if (!file.isOpen()) {
        ::close(fd);
        return std::nullopt;
    }
    QByteArray content = file.read(kMaxFileSize + 1);
    if (content.size() > kMaxFileSize) {
        *error = QStringLiteral("larger than %1 MiB").arg(kMaxFileSize >> 20);
        return std::nullopt;
    }
    return content;
}

} // namespace

namespace Plist {

ReadResult fromXml(const QByteArray& xml)
{
    ReadResult result;
    if (PlistPtr root = parseXml(xml, &result.error))
        result.value = toVariant(root.get());
    return result;
}

ReadResult readFile(const QString& path)
{
    ReadResult result;
    const std::optional<QByteArray> content = readStoredFile(path, &result.error);
    if (content)
        result = fromXml(*content);
    if (!result)
        result.error = path + QStringLiteral(": ") + result.error;
    return result;
}

QByteArray toXml(const QVariant& value)
{
    PlistPtr root(fromVariant(value));
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root.get(), &xml, &length);
    QByteArray bytes(xml, qsizetype(length));
    plist_to_xml_free(xml);
    return bytes;
}

namespace {

QByteArray rootToXml(plist_t root)
{
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    QByteArray bytes(xml, qsizetype(length));
    plist_to_xml_free(xml);
    return bytes;
}

bool saveAtomically(const QString& path, const QByteArray& xml, QString* error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

bool writeFile(const QString& path, const QVariant& value, QString* error)
{
    return saveAtomically(path, toXml(value), error);
}

std::optional<OrderedDict> readOrderedDictionary(const QString& path, QString* error)
{
    const auto fail = [error](const QString& why) -> std::optional<OrderedDict> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QString why;
    const std::optional<QByteArray> content = readStoredFile(path, &why);
    if (!content)
        return fail(path + QStringLiteral(": ") + why);
    const PlistPtr owner = parseXml(*content, &why);
    if (!owner)
        return fail(path + QStringLiteral(": ") + why);
    plist_t root = owner.get();
    if (plist_get_node_type(root) != PLIST_DICT)
        return fail(path + QStringLiteral(": the root is not a dictionary"));

    OrderedDict entries;
    QSet<QString> seen;
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(root, &it);
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(root, it, &key, &value);
        if (!key)
            break;
        QString name = QString::fromUtf8(key);
        free(key);
        if (seen.contains(name))
            continue;
        seen.insert(name);
        entries.append({name, toVariant(value)});
    }
    free(it);
    return entries;
}

bool writeOrderedDictionary(const QString& path, const OrderedDict& dict, QString* error)
{
    PlistPtr root(plist_new_dict());
    for (const auto& [key, value] : dict)
        plist_dict_set_item(root.get(), key.toUtf8().constData(), fromVariant(value));
    return saveAtomically(path, rootToXml(root.get()), error);
}

QVariantMap readDictionary(const QString& path, QString* error)
{
    ReadResult result = readFile(path);
    if (!result) {
        if (error)
            *error = result.error;
        return {};
    }
    if (result.value->typeId() != QMetaType::QVariantMap) {
        if (error)
            *error = path + QStringLiteral(": the root is not a dictionary");
        return {};
    }
    return result.value->toMap();
}

QStringList stringList(const QVariantMap& dict, const QString& key)
{
    QStringList out;
    const QVariantList items = dict.value(key).toList();
    for (const QVariant& item : items)
        if (item.typeId() == QMetaType::QString)
            out.append(item.toString());
    return out;
}

} // namespace Plist

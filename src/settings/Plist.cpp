#include "settings/Plist.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QTimeZone>

#include <plist/plist.h>

#include <memory>

namespace {

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
        char* s = nullptr;
        plist_get_string_val(node, &s);
        QString text = QString::fromUtf8(s ? s : "");
        free(s);
        return text;
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

} // namespace

namespace Plist {

ReadResult fromXml(const QByteArray& xml)
{
    ReadResult result;
    if (xml.trimmed().isEmpty()) {
        result.error = QStringLiteral("empty property list");
        return result;
    }
    plist_t root = nullptr; // a failed parse leaves it untouched, so it must start out null
    plist_from_xml(xml.constData(), uint32_t(xml.size()), &root);
    if (!root) {
        result.error = QStringLiteral("not a valid XML property list");
        return result;
    }
    PlistPtr owner(root);
    result.value = toVariant(root);
    return result;
}

ReadResult readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReadResult result;
        result.error = file.errorString();
        return result;
    }
    ReadResult result = fromXml(file.readAll());
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(path + QStringLiteral(": ") + file.errorString());
    const QByteArray xml = file.readAll();
    if (xml.trimmed().isEmpty())
        return fail(path + QStringLiteral(": empty property list"));
    plist_t root = nullptr; // must start out null, see fromXml
    plist_from_xml(xml.constData(), uint32_t(xml.size()), &root);
    if (!root)
        return fail(path + QStringLiteral(": not a valid XML property list"));
    PlistPtr owner(root);
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

#include "settings/CommonFuncs.h"

#include "settings/DecimalText.h"
#include "settings/GeneralLib.h"
#include "settings/Log.h"
#include "settings/Plist.h"
#include "settings/SettingsStore.h"
#include "settings/TextFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QSet>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------- settings accessors

QVariant CommonFuncs::standardObjectForKey(const QString& key) { return SettingsStore::value(key); }

bool CommonFuncs::setStandardObject(const QVariant& value, const QString& ForKey)
{
    return SettingsStore::setValue(ForKey, value);
}

bool CommonFuncs::archivedObject(const SortDescriptor& object, const QString& forKey)
{
    return SettingsStore::setValue(forKey, archiveSortDescriptor(object));
}

std::optional<SortDescriptor> CommonFuncs::unarchiveObjectForKey(const QString& key)
{
    const QVariant stored = SettingsStore::value(key);
    if (stored.typeId() != QMetaType::QByteArray && stored.typeId() != QMetaType::QString)
        return std::nullopt;
    return unarchiveSortDescriptor(stored.toByteArray());
}

QByteArray CommonFuncs::archiveSortDescriptor(const SortDescriptor& descriptor)
{
    const QJsonObject object{{QStringLiteral("key"), descriptor.key},
                             {QStringLiteral("ascending"), descriptor.ascending}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<SortDescriptor> CommonFuncs::unarchiveSortDescriptor(const QByteArray& data)
{
    if (data.isEmpty())
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(data).object();
    const QJsonValue key = object.value(QStringLiteral("key"));
    const QJsonValue ascending = object.value(QStringLiteral("ascending"));
    if (!key.isString() || key.toString().isEmpty() || !ascending.isBool())
        return std::nullopt;
    return SortDescriptor{key.toString(), ascending.toBool()};
}

// ---------------------------------------------------------------- interface texts

namespace {

struct TextTable {
    QHash<QString, QString> texts; // placeholders already turned into "%@"
    QMutex missingLock;
    QStringList missing;
};

TextTable& textTable()
{
    static TextTable* table = [] {
        auto* t = new TextTable;
        QFile file(QStringLiteral(":/QVL_EN.plist"));
        QString why = file.errorString();
        std::optional<QHash<QString, QString>> texts;
        if (file.open(QIODevice::ReadOnly))
            texts = CommonFuncs::parseTextTable(file.readAll(), &why);
        if (!texts) {
            qvlog(QStringLiteral("cannot load the text table :/QVL_EN.plist: %1").arg(why));
            return t;
        }
        t->texts = std::move(*texts);
        return t;
    }();
    return *table;
}

} // namespace

QString CommonFuncs::getLocalizedStringForKey(const QString& key)
{
    TextTable& table = textTable();
    const auto it = table.texts.constFind(key);
    if (it == table.texts.cend()) {
        QMutexLocker lock(&table.missingLock);
        if (!table.missing.contains(key))
            table.missing.append(key);
        return QStringLiteral("(null)");
    }
    return *it;
}

void CommonFuncs::loadLanguageDict() { textTable(); }

std::optional<QHash<QString, QString>> CommonFuncs::parseTextTable(const QByteArray& xml, QString* error)
{
    const Plist::ReadResult read = Plist::fromXml(xml);
    if (!read || read.value->typeId() != QMetaType::QVariantMap) {
        *error = read ? QStringLiteral("the root is not a dictionary") : read.error;
        return std::nullopt;
    }
    QHash<QString, QString> texts;
    const QVariantMap map = read.value->toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        if (it.value().typeId() == QMetaType::QString)
            texts.insert(it.key(), replaceOccuranceOfSpecialCharacter(it.value().toString()));
    return texts;
}

QString CommonFuncs::replaceOccuranceOfSpecialCharacter(const QString& text)
{
    QString out = text;
    for (int i = 0; i <= 4; ++i)
        out.replace(QLatin1Char('{') + QString::number(i) + QLatin1Char('}'), QLatin1String("%@"));
    return out;
}

bool CommonFuncs::hasLocalizedStringForKey(const QString& key) { return textTable().texts.contains(key); }

QStringList CommonFuncs::localizedStringKeys()
{
    QStringList keys = textTable().texts.keys();
    keys.sort();
    return keys;
}

QStringList CommonFuncs::missingLocalizedStringKeys()
{
    TextTable& table = textTable();
    QMutexLocker lock(&table.missingLock);
    return table.missing;
}

// ---------------------------------------------------------------- sizes

namespace {

constexpr int kUnitCount = 5; // bytes, KB, MB, GB, TB
const char* const kUnitKeys[kUnitCount] = {"ID_BYTES", "ID_KB", "ID_MB", "ID_GB", "ID_TB"};

QString unitName(int index) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(kUnitKeys[index])); }

int decimalPlaces() { return std::clamp(int(GeneralLib::cache().decimalPlaces), 0, 15); }

// 1000^n (n 0 to 4).
std::uint64_t unitDivisor(int n)
{
    std::uint64_t d = 1;
    for (int i = 0; i < n; ++i)
        d *= 1000;
    return d;
}

// The automatic unit index: divide while the value is at least 1000, staying in TB.
int automaticUnit(std::uint64_t bytes)
{
    int i = 0;
    while (i + 1 < kUnitCount && bytes / unitDivisor(i) >= 1000)
        ++i;
    return i;
}

// The byte count in unit i as an exact decimal (bytes / 10^(3i)).
QString valueInUnit(std::uint64_t bytes, int unit, int digits) { return DecimalText::format(bytes, 3 * unit, digits); }

QString withUnit(const QString& value, int unit)
{
    return TextFormat::format(QStringLiteral("%@ %@"), {value, unitName(unit)});
}

} // namespace

float CommonFuncs::unitBase() { return 1000.0f; }

void CommonFuncs::setUnitBase(float base)
{
    if (base != 1000.0f)
        qvlog(QStringLiteral("setUnitBase: %1 ignored, sizes are shown in decimal units").arg(double(base)));
}

QString CommonFuncs::sizeUnitFor(int code, std::uint64_t size)
{
    switch (code) {
    case Bytes:
        return TextFormat::format(QStringLiteral("%@ %@"), {size, unitName(0)});
    case KB:
        return sizeUnitInKB(size);
    case MB:
        return sizeUnitInMB(size);
    case GB:
        return sizeUnitInGB(size);
    default:
        return unitForSize(size);
    }
}

QString CommonFuncs::unitForSize(std::uint64_t bytes)
{
    if (bytes == 0)
        return TextFormat::format(QStringLiteral("0 %@"), {unitName(0)});
    int unit = automaticUnit(bytes);
    // The value truncated to two decimals, in hundredths of the unit.
    std::uint64_t hundredths = unit == 0 ? bytes * 100 : bytes / (unitDivisor(unit) / 100);
    // 970 and more (below the next unit): show 0.97, 0.98 or 0.99 of the next unit. There is
    // no unit above TB, so TB values stay as they are.
    if (unit + 1 < kUnitCount && hundredths >= 97000) {
        hundredths = 97 + (hundredths - 97000) / 1000;
        ++unit;
    }
    if (unit == 0)
        return TextFormat::format(QStringLiteral("%4.0f %@"), {bytes, unitName(0)}).trimmed();
    return withUnit(DecimalText::format(hundredths, 2, decimalPlaces()), unit).trimmed();
}

QString CommonFuncs::sizeUnitInKB(std::uint64_t bytes) { return withUnit(valueInUnit(bytes, 1, decimalPlaces()), 1); }

QString CommonFuncs::sizeUnitInMB(std::uint64_t bytes) { return withUnit(valueInUnit(bytes, 2, decimalPlaces()), 2); }

QString CommonFuncs::sizeUnitInGB(std::uint64_t bytes) { return withUnit(valueInUnit(bytes, 3, decimalPlaces()), 3); }

QString CommonFuncs::unitForSizeDriveSize(std::uint64_t bytes)
{
    if (bytes == 0)
        return TextFormat::format(QStringLiteral("0 %@"), {unitName(0)});
    const int unit = automaticUnit(bytes);
    if (unit == 0)
        return TextFormat::format(QStringLiteral("%4.0f %@"), {bytes, unitName(0)}).trimmed();
    return withUnit(valueInUnit(bytes, unit, 0), unit).trimmed();
}

QString CommonFuncs::sizeWithFractionDigits(double value) { return DecimalText::fromDouble(value, decimalPlaces()); }

QString CommonFuncs::numberWithFractionDigits(double value, int digits) { return DecimalText::fromDouble(value, digits); }

QString CommonFuncs::roundingNumber(double value) { return DecimalText::fromDouble(value, 2); }

std::uint64_t CommonFuncs::denominator(std::uint64_t value) { return value == 0 ? 1 : value; }

// ---------------------------------------------------------------- small helpers

bool CommonFuncs::strExist(const QString& text)
{
    return !text.isEmpty() && text.compare(QLatin1String("(null)"), Qt::CaseInsensitive) != 0;
}

namespace {

struct FolderId {
    dev_t device;
    ino_t inode;
    bool operator==(const FolderId&) const = default;
};
size_t qHash(const FolderId& id, size_t seed = 0) { return qHashMulti(seed, quint64(id.device), quint64(id.inode)); }

std::optional<FolderId> folderId(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return FolderId{st.st_dev, st.st_ino};
}

// Appends the items below `path`; `walking` holds the folders on the way down from the
// start, so that a link back to one of them is not followed again.
void collectItems(const QString& path, QSet<FolderId>& walking, QStringList& out)
{
    const std::optional<FolderId> id = folderId(path);
    if (!id || walking.contains(*id))
        return;
    walking.insert(*id);
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir()) // follows symbolic links
            collectItems(entry.filePath(), walking, out);
        else
            out.append(entry.filePath());
    }
    walking.remove(*id);
}

QStringList savedPaths()
{
    const QVariant stored = SettingsStore::value(SettingsKeys::savedPaths);
    // QSettings hands a one-item list back as a plain text.
    if (stored.typeId() == QMetaType::QString)
        return {stored.toString()};
    return stored.toStringList();
}

} // namespace

QStringList CommonFuncs::getHierarchyOfPaths(const QString& folderPath)
{
    QStringList out;
    QSet<FolderId> walking;
    collectItems(folderPath, walking, out);
    return out;
}

bool CommonFuncs::saveBookmarkPath(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    QStringList paths = savedPaths();
    if (paths.contains(path))
        return true;
    paths.append(path);
    return SettingsStore::setValue(SettingsKeys::savedPaths, paths);
}

bool CommonFuncs::loadFromBookmarkPath(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && info.isReadable();
}

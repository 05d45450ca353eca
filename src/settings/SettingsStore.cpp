#include "settings/SettingsStore.h"

#include "settings/DecimalText.h"

#include "settings/Log.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <cmath>
#include <limits>
#include <memory>

namespace {

// Registered defaults: in memory only, never written.
QVariantMap& registered()
{
    static QVariantMap defaults;
    return defaults;
}

// The user's store. Organisation and application are fixed, so a program that did not
// name itself still finds the same file.
std::unique_ptr<QSettings> openStore()
{
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                QStringLiteral("Quorvel"), QStringLiteral("Quorvel"));
    settings->setFallbacksEnabled(false);
    return settings;
}

// "<file><kind><time>", numbered when taken.
QString backupPathFor(const QString& file, const QString& kind)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString candidate = file + kind + stamp;
    for (int n = 1; QFileInfo::exists(candidate); ++n)
        candidate = file + kind + stamp + QLatin1Char('-') + QString::number(n);
    return candidate;
}

// True when writing back what QSettings read from the file gives the file's very bytes:
// then a rewrite loses nothing. A line the reader skips (a stray word, a comment, a key it
// cannot decode) makes the answer false.
bool readsBackAsWritten(const QString& file, const QByteArray& original)
{
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return false;
    const QString probe = scratch.path() + QStringLiteral("/probe.conf");
    {
        const QSettings read(file, QSettings::IniFormat);
        QSettings written(probe, QSettings::IniFormat);
        for (const QString& key : read.allKeys())
            written.setValue(key, read.value(key));
    }
    QFile back(probe);
    const QByteArray rewritten = back.open(QIODevice::ReadOnly) ? back.readAll() : QByteArray();
    return rewritten == original;
}

// Before the file is rewritten, keeps a copy of it next to it when the rewrite would change
// more than the value being stored, so nothing a person wrote there is lost. A file this
// store wrote reads back the same, so in practice the copy is made before the first rewrite
// after someone edited the file by hand.
void keepCopyBeforeRewrite(const QString& file)
{
    QFile current(file);
    if (!current.open(QIODevice::ReadOnly))
        return; // nothing there yet
    const QByteArray original = current.readAll();
    if (original.isEmpty() || readsBackAsWritten(file, original))
        return;
    const QString copy = backupPathFor(file, QStringLiteral(".backup-"));
    if (QFile::copy(file, copy))
        qvlog(QStringLiteral("settings: %1 holds lines the settings reader does not keep; it is copied to %2 before "
                             "it is rewritten").arg(file, copy));
    else
        qvlog(QStringLiteral("settings: %1 holds lines the settings reader does not keep, and cannot be copied to %2")
                  .arg(file, copy));
}

// The store, ready for a change. QSettings rewrites a file it could not parse from the
// keys it did understand, dropping the rest; so such a file is first moved aside to a
// backup next to it, and the keys that could be read are carried over. Null when the
// broken file cannot be moved (nothing is written then). A file QSettings can parse but
// would not write back the same is copied aside before it is rewritten.
std::unique_ptr<QSettings> openStoreForWriting()
{
    auto settings = openStore();
    if (settings->status() != QSettings::FormatError) {
        keepCopyBeforeRewrite(settings->fileName());
        return settings;
    }
    const QString file = settings->fileName();
    QVariantMap readable;
    for (const QString& key : settings->allKeys())
        readable.insert(key, settings->value(key));
    settings.reset();
    const QString backup = backupPathFor(file, QStringLiteral(".broken-"));
    if (!QFile::rename(file, backup)) {
        qvlog(QStringLiteral("settings: %1 is not a valid settings file and cannot be moved aside; "
                             "nothing is stored").arg(file));
        return nullptr;
    }
    qvlog(QStringLiteral("settings: %1 was not a valid settings file; it is kept as %2 and the %3 settings "
                         "that could be read were carried over")
              .arg(file, backup)
              .arg(readable.size()));
    settings = openStore();
    for (auto it = readable.cbegin(); it != readable.cend(); ++it)
        settings->setValue(it.key(), it.value());
    return settings;
}

std::int64_t integerOfText(const QString& raw)
{
    const QString text = raw.trimmed();
    bool ok = false;
    if (const qlonglong v = text.toLongLong(&ok); ok)
        return v;
    if (const double d = text.toDouble(&ok); ok)
        return DecimalText::truncatedToInt64(d);
    // QSettings writes booleans as these words.
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return 1;
    return 0;
}

} // namespace

QVariant SettingsStore::value(const QString& key)
{
    QVariant stored = storedValue(key);
    return stored.isValid() ? stored : registeredDefault(key);
}

QVariant SettingsStore::storedValue(const QString& key) { return openStore()->value(key); }

bool SettingsStore::isStored(const QString& key) { return openStore()->contains(key); }

bool SettingsStore::setValue(const QString& key, const QVariant& value)
{
    auto settings = openStoreForWriting();
    if (!settings)
        return false;
    settings->setValue(key, value);
    return sync(*settings, key);
}

bool SettingsStore::remove(const QString& key)
{
    auto settings = openStoreForWriting();
    if (!settings)
        return false;
    settings->remove(key);
    return sync(*settings, key);
}

void SettingsStore::registerDefaults(const QVariantMap& defaults)
{
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
        registered().insert(it.key(), it.value());
}

QVariant SettingsStore::registeredDefault(const QString& key) { return registered().value(key); }

std::int64_t SettingsStore::integerForKey(const QString& key) { return toInteger(value(key)); }

QString SettingsStore::stringForKey(const QString& key)
{
    const QVariant v = value(key);
    switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
        return v.toString();
    default:
        return QLatin1String(""); // missing or not a text: empty, never null
    }
}

std::int64_t SettingsStore::toInteger(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::UShort:
        return value.toLongLong();
    case QMetaType::ULongLong:
        return std::int64_t(std::min<qulonglong>(value.toULongLong(), std::numeric_limits<std::int64_t>::max()));
    case QMetaType::Double:
    case QMetaType::Float:
        return DecimalText::truncatedToInt64(value.toDouble());
    case QMetaType::QString:
        return integerOfText(value.toString());
    default:
        return 0;
    }
}

QString SettingsStore::filePath() { return openStore()->fileName(); }

bool SettingsStore::clearAll()
{
    registered().clear();
    auto settings = openStoreForWriting();
    if (!settings)
        return false;
    settings->clear();
    return sync(*settings, QStringLiteral("(all keys)"));
}

bool SettingsStore::sync(QSettings& settings, const QString& what)
{
    settings.sync();
    switch (settings.status()) {
    case QSettings::NoError:
        return true;
    case QSettings::AccessError:
        qvlog(QStringLiteral("settings: cannot write %1 (storing %2): permission denied or disk full")
                  .arg(settings.fileName(), what));
        return false;
    case QSettings::FormatError:
        qvlog(QStringLiteral("settings: %1 became unreadable while storing %2").arg(settings.fileName(), what));
        return false;
    }
    return false;
}

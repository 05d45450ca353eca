// The settings file: any bytes read without harm, and storing one value keeps every other
// value that could be read before (in the file or in a copy made aside).

#include "FuzzHome.h"

#include "settings/SettingsStore.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QVariantMap readable(const QString& path)
{
    QVariantMap out;
    const QSettings settings(path, QSettings::IniFormat);
    for (const QString& key : settings.allKeys())
        out.insert(key, settings.value(key));
    return out;
}

void removeCopiesAside(const QString& path)
{
    const QFileInfo info(path);
    QDir folder = info.absoluteDir();
    for (const QString& name : folder.entryList({info.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden))
        folder.remove(name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (FuzzHome::prepare(), true);
    (void)ready;
    const QString path = SettingsStore::filePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    removeCopiesAside(path);
    FuzzHome::write(path, FuzzHome::bytes(data, size));

    const QVariantMap before = readable(path);
    for (const QString& key : before.keys()) {
        SettingsStore::integerForKey(key);
        SettingsStore::stringForKey(key);
    }
    const QString changed = QStringLiteral("fuzzProbe");
    if (SettingsStore::setValue(changed, 7)) {
        const QVariantMap after = readable(path);
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (it.key() == changed)
                continue;
            if (!after.contains(it.key()))
                FuzzHome::fail("storing one value lost another");
        }
    }
    removeCopiesAside(path);
    return 0;
}

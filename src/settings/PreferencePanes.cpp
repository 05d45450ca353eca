#include "settings/PreferencePanes.h"

#include "settings/GeneralLib.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <cstdlib>

namespace PreferencePanes {

const QList<Pane>& panes()
{
    static const QList<Pane> list{
        {QStringLiteral("Display Unit"), QStringLiteral("preferences-desktop-display"), QStringLiteral("ID_DISPLAY_UNIT")},
        {QStringLiteral("Exclude"), QStringLiteral("process-stop"), QStringLiteral("ID_EXCLUDE")},
        {QStringLiteral("Custom Filter"), QStringLiteral("edit-find"), QStringLiteral("ID_CUSTOM_FILTER")},
        {QStringLiteral("Misc. Filter"), QStringLiteral("preferences-other"), QStringLiteral("ID_MISC_FILTER")},
    };
    return list;
}

int selectedIndex()
{
    const QString stored = SettingsStore::stringForKey(SettingsKeys::preferencesSelectedItem);
    const auto& all = panes();
    const auto it = std::find_if(all.cbegin(), all.cend(), [&stored](const Pane& p) { return p.identifier == stored; });
    return it == all.cend() ? 0 : int(it - all.cbegin());
}

void storeSelectedIdentifier(const QString& identifier)
{
    SettingsStore::setValue(SettingsKeys::preferencesSelectedItem, identifier);
}

double resizeDuration(const QSize& from, const QSize& to)
{
    const int change = std::max(std::abs(to.width() - from.width()), std::abs(to.height() - from.height()));
    return std::max(0.1, change / 100.0 * 0.05);
}

} // namespace PreferencePanes

namespace PreferenceChangeFlags {

namespace {
bool g_customFilterChanged = false;
bool g_miscChanged = false;
} // namespace

void setCustomFilterChanged() { g_customFilterChanged = true; }
void setMiscChanged() { g_miscChanged = true; }
bool customFilterChanged() { return g_customFilterChanged; }
bool miscChanged() { return g_miscChanged; }

void clear()
{
    g_customFilterChanged = false;
    g_miscChanged = false;
}

} // namespace PreferenceChangeFlags

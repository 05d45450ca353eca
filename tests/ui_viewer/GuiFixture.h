#pragma once

#include "app/AppDelegateFixture.h"
#include "settings/CommonFuncs.h"
#include "settings/GeneralLib.h"
#include "settings/SettingsStore.h"

#include <QIcon>

// The application controller on a fresh home with default settings, and the desktop icon
// theme the windows draw from.
class GuiFixture : public AppDelegateFixture {
protected:
    void SetUp() override
    {
        AppDelegateFixture::SetUp();
        QIcon::setThemeSearchPaths({QStringLiteral("/usr/share/icons")});
        QIcon::setThemeName(QStringLiteral("Adwaita"));
        SettingsStore::clearAll();
        GeneralLib::registerUserDefaultsForSettings();
        GeneralLib::readRegistry();
    }

    static QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }
};

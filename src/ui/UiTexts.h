#pragma once

#include "settings/CommonFuncs.h"

#include <QLatin1String>
#include <QString>

// The interface text behind a key of the text table ("ID_OK" -> "OK"). Windows never show
// literal texts; every caption, title and tooltip goes through here.
inline QString uiText(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }

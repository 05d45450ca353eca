#include "settings/CustomFilterSheet.h"

#include "settings/PreferencePanes.h"
#include "settings/TypeCatalog.h"

namespace CustomFilterSheet {

QString validationAlertKey(Mode mode, const QString& name, const QString& types)
{
    if (mode == Mode::Add && name.trimmed().isEmpty())
        return QStringLiteral("ID_PLZ_ENTER_FILTER_NAME");
    if (types.trimmed().isEmpty())
        return QStringLiteral("ID_PLZ_ENTER_FILE_TYPE");
    if (mode == Mode::Add && CustomTypeFilter::isFilterExist(name))
        return QStringLiteral("ID_FILTER_NAME_EXIST");
    return {};
}

QString save(Mode mode, const QString& name, const QString& types)
{
    const QString alert = validationAlertKey(mode, name, types);
    if (!alert.isEmpty())
        return alert;
    if (mode == Mode::Add)
        CustomTypeFilter::addNewCustomTypeFilter(name.trimmed(), types.trimmed());
    else
        CustomTypeFilter::updateCustomTypeFilterFile(name, types);
    PreferenceChangeFlags::setCustomFilterChanged();
    return {};
}

QString deleteFilter(const QString& selectedName)
{
    if (selectedName.isEmpty())
        return QStringLiteral("ID_PLZ_SELECT_FILTER_REMOVE_FRM_LIST");
    CustomTypeFilter::deleteCustomTypeFilter(selectedName);
    PreferenceChangeFlags::setCustomFilterChanged();
    return {};
}

void reset()
{
    TypeCatalog::resetCustomSettings();
    PreferenceChangeFlags::setCustomFilterChanged();
}

} // namespace CustomFilterSheet

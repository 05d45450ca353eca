#pragma once

#include <QString>

// The Custom Filter pane's add/edit sheet and its delete and reset buttons, without any
// window: each answers the text key of the alert to show, or an empty string when it did
// its work (and then raises the custom-filter-changed flag).
namespace CustomFilterSheet {

enum class Mode { Add, Edit };

// The alert the save button gives for these field texts, or empty when they may be saved.
// Adding needs a name ("ID_PLZ_ENTER_FILTER_NAME"), extensions ("ID_PLZ_ENTER_FILE_TYPE")
// and a name no group has yet, ignoring case ("ID_FILTER_NAME_EXIST"); editing needs
// extensions. Texts of white space only count as empty.
QString validationAlertKey(Mode mode, const QString& name, const QString& types);

// btnSaveFilterTapped: validates, then adds the group (trimmed name and extensions) or
// replaces the edited group's extensions.
QString save(Mode mode, const QString& name, const QString& types);

// btnDeleteFilterTapped: "ID_PLZ_SELECT_FILTER_REMOVE_FRM_LIST" when no group is selected
// (an empty name); otherwise deletes the group.
QString deleteFilter(const QString& selectedName);

// btnResetDefaultTapped: writes the default catalog and loads it.
void reset();

} // namespace CustomFilterSheet

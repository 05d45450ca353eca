#pragma once

#include "preferences/PreferencePaneView.h"
#include "settings/CustomFilterSheet.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class UserInterface;

// The add/edit sheet of the Custom Filter pane: a group name and its extensions. It stays
// open while the save button's checks fail (the alert says why).
class CustomTypeFilterSheet : public QDialog {
    Q_OBJECT
public:
    CustomTypeFilterSheet(UserInterface& ui, QWidget* parent);

    // Add mode: both fields empty, the name editable and focused, the button "ID_ADD".
    void beginAdd();
    // Edit mode: the row's name (fixed) and extensions, the extensions focused, "ID_SAVE".
    void beginEdit(const QString& name, const QString& types);

    CustomFilterSheet::Mode mode() const { return mode_; }
    QLineEdit* nameField() const { return txtFilterName_; }
    QLineEdit* typesField() const { return txtFileTypes_; }
    QPushButton* saveButton() const { return btnSaveFilter_; }
    QPushButton* cancelButton() const { return btnCancelFilter_; }

Q_SIGNALS:
    // A group was added or changed.
    void saved();

private:
    void btnSaveFilterTapped();

    UserInterface& ui_;
    CustomFilterSheet::Mode mode_ = CustomFilterSheet::Mode::Add;
    QLineEdit* txtFilterName_ = nullptr;
    QLineEdit* txtFileTypes_ = nullptr;
    QPushButton* btnSaveFilter_ = nullptr;
    QPushButton* btnCancelFilter_ = nullptr;
};

// The Custom Filter pane: the type catalog's groups ("filter", "types" joined by ","),
// Add, Edit (with a selected row, or a double click), Delete and reset. Every change raises
// the custom-filter-changed flag; the main window reloads the catalog when it becomes
// active again.
class CustomTypeFilterViewController : public PreferencePaneView {
    Q_OBJECT
public:
    CustomTypeFilterViewController(UserInterface& ui, QWidget* parent = nullptr);

    int paneIndex() const override { return 2; }
    QSize paneSize() const override { return {560, 420}; }

    QTableWidget* table() const { return tblCustomFilter_; }
    QPushButton* addButton() const { return btnAddNewFilter_; }
    QPushButton* editButton() const { return btnEdit_; }
    QPushButton* deleteButton() const { return btnDeleteFilter_; }
    QPushButton* resetButton() const { return btnResetDefault_; }
    CustomTypeFilterSheet* sheet() const { return sheet_; }

private:
    void readCustomTypeFilter();
    void btnEditTapped();
    void btnDeleteFilterTapped();
    void btnResetDefaultTapped();
    QString selectedName() const;

    UserInterface& ui_;
    QTableWidget* tblCustomFilter_ = nullptr;
    QPushButton* btnAddNewFilter_ = nullptr;
    QPushButton* btnEdit_ = nullptr;
    QPushButton* btnDeleteFilter_ = nullptr;
    QPushButton* btnResetDefault_ = nullptr;
    CustomTypeFilterSheet* sheet_ = nullptr;
};

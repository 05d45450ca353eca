#pragma once

#include "preferences/PreferencePaneView.h"
#include "settings/ExclusionListEditor.h"

#include <functional>

class QListWidget;
class QPushButton;

// The Exclude pane: the folders and the files no scan enters, each with its icon; buttons
// to add (through a file dialog) and remove a folder or a file, and to restore the default
// list. Every change is saved at once and replaces the list the next scan uses.
class ExcludeViewController : public PreferencePaneView {
    Q_OBJECT
public:
    // Asks for a folder (true) or a file (false); an empty path when the person cancels.
    using PathChooser = std::function<QString(QWidget* parent, bool folder)>;

    explicit ExcludeViewController(QWidget* parent = nullptr);

    int paneIndex() const override { return 1; }
    QSize paneSize() const override { return {600, 460}; }

    // Replaces the file dialog (tests).
    void setPathChooser(PathChooser chooser) { chooser_ = std::move(chooser); }

    QListWidget* pathsTable() const { return tblExcludePaths_; }
    QListWidget* filesTable() const { return tblExcludeFiles_; }
    QPushButton* addPathButton() const { return btnAddPath_; }
    QPushButton* removePathButton() const { return btnRemovePath_; }
    QPushButton* addFileButton() const { return btnAddFile_; }
    QPushButton* removeFileButton() const { return btnRemoveFile_; }
    QPushButton* resetButton() const { return btnResetDefault_; }

private:
    QWidget* makeSection(const char* titleKey, QListWidget*& table, QPushButton*& add, QPushButton*& remove);
    void showLists();
    void rowSelected(QListWidget* table);
    void btnAddPath();
    void btnAddFile();
    void btnRemovePath();
    void btnRemoveFile();
    void btnResetDefaultTapped();

    ExclusionListEditor editor_;
    PathChooser chooser_;
    int selectedRow_ = -1;
    QListWidget* tblExcludePaths_ = nullptr;
    QListWidget* tblExcludeFiles_ = nullptr;
    QPushButton* btnAddPath_ = nullptr;
    QPushButton* btnRemovePath_ = nullptr;
    QPushButton* btnAddFile_ = nullptr;
    QPushButton* btnRemoveFile_ = nullptr;
    QPushButton* btnResetDefault_ = nullptr;
};

#pragma once

#include "scan/DriveNode.h"

#include <QObject>
#include <QString>

#include <vector>

class AppDelegate;
class UserInterface;

// The start-up dialog that asks what to scan, as data and commands for its view. Its list
// holds one row, the user's home folder, recommended and chosen by its radio button.
class InitailWindowViewController : public QObject {
    Q_OBJECT
public:
    InitailWindowViewController(AppDelegate& app, UserInterface& ui, QObject* parent = nullptr);

    const std::vector<DriveNode>& arrDiskDrive() const { return arrDiskDrive_; }

    // What one row shows.
    struct RowTexts {
        bool radioOn = false;
        QString radioImage;       // "big_select_radio.png" / "big_unselect_radio.png"
        QString lblDiskSize;      // the description (recommended row) or the capacity
        QString lblDiskType;      // empty (recommended row) or the description
        QString lblDiskAvailSize; // "ID_SCAN_RECOMMENDED" or "<used space>: <size>"
        double usage = 0;         // the usage bar, percent
    };
    RowTexts rowTexts(int row) const;

    // The texts of the dialog's controls and its size.
    static QString startButtonTitle();      // "ID_START_SCAN"
    static QString selectFolderTitle();     // "ID_SELECT_FOLDER_TO_SCAN"
    static QString titleText();             // "ID_PERMISSION_FOR_DRIVE"
    int tableHeight() const;                // 53 points a row, at most 8 rows
    int windowHeight() const { return tableHeight() + 200; }

    bool startButtonEnabled() const { return startEnabled_; }
    QString homeDirectoryPath() const { return homeDirectoryPath_; }

    // The radio button of a row: on for it, off for every other row.
    void radioButtonTappedForDriveCell(int row);
    // Start: scans the row whose radio is on (asking for permission first when needed).
    void btnStartScanTapped();
    // A row's own scan button.
    void scanDriveForCell(int row);
    // Select folder: a folder chooser at the home folder; the chosen folder is scanned.
    void btnScanFolderTapped();
    // Close: ends the dialog; quits when nothing has been scanned yet.
    void btnCloseAppTapped();

Q_SIGNALS:
    void changed();
    void closeRequested();
    void quitRequested();

private:
    void scanChosenPath();
    void openPanelToSelectDirectoryAt(const QString& path);
    void startParsingForPath(const QString& path);

    AppDelegate& app_;
    UserInterface& ui_;
    std::vector<DriveNode> arrDiskDrive_;
    std::vector<bool> radioOn_;
    QString homeDirectoryPath_;
    bool startEnabled_ = true;
};

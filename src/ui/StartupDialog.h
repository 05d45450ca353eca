#pragma once

#include <QDialog>

#include <vector>

class AppDelegate;
class InitailWindowViewController;
class QButtonGroup;
class QPushButton;
class QVBoxLayout;
class UserInterface;

// The start-up dialog that asks what to scan, a sheet-like modal over the main window. It
// shows the rows of its controller (InitailWindowViewController): each with a radio button,
// icon, name, description, usage bar, the recommended hint or the used space, free space,
// and its own scan button; then Start, Select Folder and Close. Rows are 53 pixels high,
// at most eight show before the list scrolls, and the dialog is the list's height + 200.
//
// Closing it (its button, Escape or the window's close box) before anything was scanned
// quits the application; the controller decides that and the dialog reports it through
// quitRequested.
class StartupDialog : public QDialog {
    Q_OBJECT
public:
    StartupDialog(AppDelegate& app, UserInterface& ui, QWidget* parent);
    ~StartupDialog() override;

    // Shows the dialog over its window (without a nested event loop).
    void present();

    InitailWindowViewController& controller() { return *controller_; }
    int rowCount() const;
    // The widgets of a row and of the dialog (tests).
    QWidget* rowWidget(int row) const;
    QPushButton* rowScanButton(int row) const;
    QPushButton* startButton() const { return start_; }
    QPushButton* selectFolderButton() const { return selectFolder_; }
    QPushButton* closeButton() const { return close_; }

Q_SIGNALS:
    // The application is to end (closed before any scan).
    void quitRequested();

protected:
    void reject() override;

private:
    void buildRows();
    void refreshRows();

    InitailWindowViewController* controller_;
    QVBoxLayout* rowsLayout_;
    QWidget* rowsHost_;
    QButtonGroup* radios_;
    std::vector<QWidget*> rows_;
    std::vector<QPushButton*> rowScanButtons_;
    QPushButton* start_;
    QPushButton* selectFolder_;
    QPushButton* close_;
};

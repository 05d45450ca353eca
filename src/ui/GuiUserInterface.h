#pragma once

#include "base/UserInterface.h"

#include <QPointer>
#include <QWidget>

#include "ui/PreviewWindow.h"

// What the controller asks of a person, with the desktop's own dialogs: alerts and YES/NO
// questions as message boxes over the main window, folder choosers, the preview window,
// revealing in the file manager and opening with the default application.
class GuiUserInterface : public UserInterface {
public:
    GuiUserInterface();
    ~GuiUserInterface() override;

    // The window dialogs are centred on (none: they stand alone). Not owned.
    void setParentWindow(QWidget* window) { parent_ = window; }

    // A modal alert with the single button "ID_OK".
    void alert(const QString& message, const QString& informative) override;
    // A modal question with "ID_YES" (default) and "ID_NO"; true for YES.
    bool confirm(const QString& message, const QString& informative) override;
    // The same with the given button titles; true for `defaultButton`.
    bool confirm(const QString& message, const QString& informative, const QString& defaultButton,
                 const QString& otherButton) override;
    // A modal folder chooser (folders only); nullopt when cancelled.
    std::optional<QString> chooseFolder(const FolderChoice& choice) override;
    // Shows the preview window on the item (one window, reused).
    void preview(const QString& path) override;
    // Asks the file manager to show the item (org.freedesktop.FileManager1); when no file
    // manager answers, opens the item's folder instead.
    void reveal(const QString& path) override;
    // Opens the item with its default application.
    void open(const QString& path) override;

    // The preview window, once one was shown (tests).
    PreviewWindow* previewWindow() const { return preview_; }

    // Asks the file manager over D-Bus to show the items; false when none answered.
    static bool showItemsInFileManager(const QStringList& paths);

private:
    QPointer<QWidget> parent_;
    QPointer<PreviewWindow> preview_;
};

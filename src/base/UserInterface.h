#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

// What the core asks of a person, and of the clock. The GUI implements these with dialogs
// and timers; the command-line tool and the tests script them. The core never shows
// anything itself.

// A request for a folder: the chooser's title and prompt, where it starts, and whether
// it may create folders.
struct FolderChoice {
    QString title;
    QString prompt;
    QString message;
    QString startFolder;
    bool canCreateFolders = false;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A modal alert with one button (the text of "ID_OK" unless the caller says otherwise).
    virtual void alert(const QString& message, const QString& informative) = 0;
    // A YES/NO question; true for YES.
    virtual bool confirm(const QString& message, const QString& informative) = 0;
    // A question with two buttons titled as given (texts already looked up, e.g.
    // "ID_CHOOSE" and "ID_CANCEL"): true when the person chooses `defaultButton`, the
    // default one; false for `otherButton` or when the question is dismissed.
    virtual bool confirm(const QString& message, const QString& informative, const QString& defaultButton,
                         const QString& otherButton) = 0;
    // A folder chooser; nullopt when the person cancels.
    virtual std::optional<QString> chooseFolder(const FolderChoice& choice) = 0;
    // Shows a quick preview of the item.
    virtual void preview(const QString& path) = 0;
    // Shows the item in the file browser.
    virtual void reveal(const QString& path) = 0;
    // Opens the item with its default application.
    virtual void open(const QString& path) = 0;
};

// Runs work after a short delay on the main thread (the GUI backs it with QTimer); tests
// and the command-line tool run it at once.
class Scheduler {
public:
    virtual ~Scheduler() = default;
    virtual void schedule(std::chrono::milliseconds delay, std::function<void()> work) = 0;
};

// A scheduler that runs the work at once, for headless use.
class ImmediateScheduler : public Scheduler {
public:
    void schedule(std::chrono::milliseconds, std::function<void()> work) override { work(); }
};

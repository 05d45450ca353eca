#pragma once

#include <QString>
#include <QStringList>

// The Exclude preferences pane's data: the excluded folders ("Hard" "dirPath") and files
// ("Hard" "filePath") of ExclusionList.plist, and the edits the pane makes to them.
//
// Every edit saves at once: both lists are written into the file, keeping every other
// entry of it, and then the process-wide exclusion list is replaced by one loaded from the
// file, so the next scan uses the edit while a running scan keeps the list it started with.
// Main thread only.
class ExclusionListEditor {
public:
    // Reads both lists from the file (empty when it is missing or unreadable).
    ExclusionListEditor();

    const QStringList& excludedPaths() const { return paths_; }
    const QStringList& excludedFiles() const { return files_; }

    // Re-reads both lists from the file.
    void reload();

    // addExcludePath: / addExcludeFile: appends the path (duplicates allowed) and saves.
    void addExcludePath(const QString& path);
    void addExcludeFile(const QString& path);
    // removeExcludePathAtIndex: / removeExcludeFileAtIndex: removes the row and saves; false
    // (and nothing changes) for a row out of range.
    bool removeExcludePathAtIndex(int index);
    bool removeExcludeFileAtIndex(int index);
    // Deletes the file, reloads the shared list (which writes the default file) and re-reads
    // both lists.
    void resetToDefaults();

    // updateExcludeFile: writes both lists into the file, keeping its other entries, then
    // loads a new shared exclusion list. A missing file starts from the defaults; a file
    // that cannot be parsed is first kept aside as "<file>.broken-<time>" (logged), so it is
    // never lost. False when the file could not be written (logged; the shared list is
    // reloaded anyway and reflects the file as it is).
    bool updateExcludeFile();

private:
    QStringList paths_;
    QStringList files_;
};

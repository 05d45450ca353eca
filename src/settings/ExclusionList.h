#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>
#include <string>
#include <vector>

struct AccessFacts;
struct UserIdentity;

// The folders and files a scan must not enter, and whether protected system locations
// are configured, kept in "ExclusionList.plist" in the documents folder.
//
// One shared list serves the whole process. It is never edited in place: saving a change
// builds a new list and swaps the shared pointer, so a running scan keeps the list it
// started with.
class ExclusionList {
public:
    ExclusionList() = default; // empty list; nothing loaded

    // initWithExclusionDict: a list built from a dictionary in the file's layout; the file
    // is not touched.
    explicit ExclusionList(const QVariantMap& exclusionDict);

    // The file's path: "%@/Documents" over the home folder + "ExclusionList.plist".
    static QString filePath();

    // Loads the file if it exists, otherwise writes the default file first; then derives
    // the working lists. A file that cannot be read, is not a property list (nested too
    // deeply included) or whose root is not a dictionary is left untouched on disk: the
    // defaults are used instead, a line is logged and loadProblem() says why.
    void readAndLoadExclusionList();

    // Why the stored file could not be used by the last readAndLoadExclusionList(), as a
    // sentence for a warning ("The exclusion list … cannot be read (…); …"); empty when it
    // loaded (or was made) normally. Front ends show it: the command line on stderr, the
    // windows in an alert.
    const QString& loadProblem() const { return loadProblem_; }

    // Builds the default dictionary, makes it the loaded one and writes it atomically.
    // A failed write is not reported; the defaults are used anyway.
    void makeExclusionListFile();

    // The default dictionary with all three sections.
    static QVariantMap defaultExclusionDict();
    // The default excluded folders and protected folders, in order. Excluded: the kernel's
    // virtual file systems ("/proc", "/sys", "/dev", "/run") and the macOS-only system
    // folder names. Protected: the system folders, then "/sys". Entries the home folder
    // begins with are left out of both.
    static QStringList defaultExcludedPaths();
    static QStringList defaultNotDeletablePaths();

    // Creates "exclusion.plist" in the documents folder with its defaults when missing.
    // Nothing reads it back; an existing file is left alone.
    static void makeStartupExclusionFileIfMissing();

    // YES when the path begins with any excluded entry (raw, case-sensitive prefix), except
    // where sparesVolumeArea says the entry does not reach.
    bool isExcludedDirectory(const QString& path) const;
    bool isExcludedDirectory(std::string_view pathBytes) const;
    // True when `entry` covers an external-volume area ("/run/media", "/media") only as part
    // of something wider ("/run" covers "/run/media") and `path` lies in that area: such an
    // entry does not exclude the volumes mounted there, which the volume table offers.
    static bool sparesVolumeArea(std::string_view entry, std::string_view path);

    // YES when the item may be removed: it is deletable and writable by the current user.
    // NO when no protected locations are configured. (The name says the opposite of the
    // answer; callers treat NO as protected.)
    bool isNotDeletableItem(const QString& path) const;
    // The same from facts already in hand (the scanner's per-entry test), for `user`.
    bool isNotDeletableItem(const UserIdentity& user, const AccessFacts& item, const AccessFacts& parent) const;

    bool excludeFilePackage() const { return excludeFilePackage_; }
    const QVariantMap& dictExclusion() const { return dictExclusion_; }
    const QStringList& excDirPath() const { return excDirPath_; }
    const QStringList& dirNotDeleted() const { return dirNotDeleted_; }
    // The excluded entries as bytes, for the scanner's prefix tests.
    const std::vector<std::string>& excludedPrefixes() const { return excludedBytes_; }

    // The process-wide list (an empty one until something is loaded) and its replacement.
    static std::shared_ptr<const ExclusionList> shared();
    static void setShared(std::shared_ptr<const ExclusionList> list);
    // Loads the shared list from the documents folder, as at start-up.
    static std::shared_ptr<const ExclusionList> loadShared();

private:
    void deriveLists();

    QVariantMap dictExclusion_;
    QStringList excDirPath_;
    QStringList dirNotDeleted_;
    std::vector<std::string> excludedBytes_;
    bool excludeFilePackage_ = false;
    QString loadProblem_;
};

#include "settings/ExclusionList.h"

#include "base/ItemAccess.h"
#include "settings/Log.h"
#include "settings/Paths.h"
#include "settings/Plist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <mutex>

namespace {

// What a scan never enters on Linux: the kernel's virtual file systems, which hold no
// disk space (and reading some of them blocks or never ends), and the names of the macOS
// system folders, which do not exist here and cost nothing. The folders that fill Linux
// disks ("/var", "/usr", "/opt", "/home") are scanned; deletability still comes from the
// permissions. "/sw" is left out: the prefix test would pass over "/swapfile" and
// "/swap.img", which take gigabytes of the root file system on many machines.
const char* const kDefaultExcluded[] = {
    "/System", "/afs", "/dev", "/net", "/proc", "/cores", "/Network", "/mach", "/private",
    "/Developer", "/sys", "/run",
};

const char* const kDefaultNotDeletable[] = {
    "/Applications", "/bin", "/System", "/afs", "/Library", "/dev", "/etc", "/sbin", "/tmp",
    "/usr", "/var", "/net", "/sw", "/opt", "/proc", "/cores", "/lost+found", "/home",
    "/Network", "/mach", "/private", "/Developer", "/mnt",
};

// The entries the home folder does not begin with, so the home always stays scannable.
template <std::size_t N>
QStringList leavingHomeOut(const char* const (&entries)[N])
{
    const QString home = Paths::home();
    QStringList out;
    for (const char* entry : entries) {
        const QString path = QString::fromLatin1(entry);
        if (!home.startsWith(path))
            out.append(path);
    }
    return out;
}

QVariantList toList(const QStringList& strings)
{
    QVariantList out;
    for (const QString& s : strings)
        out.append(s);
    return out;
}

std::mutex g_sharedMutex;
std::shared_ptr<const ExclusionList> g_shared = std::make_shared<const ExclusionList>();

} // namespace

ExclusionList::ExclusionList(const QVariantMap& exclusionDict) : dictExclusion_(exclusionDict)
{
    deriveLists();
}

QString ExclusionList::filePath() { return Paths::inDocuments(QStringLiteral("ExclusionList.plist")); }

QStringList ExclusionList::defaultExcludedPaths() { return leavingHomeOut(kDefaultExcluded); }

QStringList ExclusionList::defaultNotDeletablePaths()
{
    return leavingHomeOut(kDefaultNotDeletable) << QStringLiteral("/sys");
}

QVariantMap ExclusionList::defaultExclusionDict()
{
    const QVariantList empty;
    QVariantMap hard{
        {QStringLiteral("dirPath"), toList(defaultExcludedPaths())},
        {QStringLiteral("dirPrefix"), empty},
        {QStringLiteral("dirExtn"), QVariantList{QStringLiteral("lproj")}},
        {QStringLiteral("dirNotDelExtn"), QVariantList{QStringLiteral("app")}},
        {QStringLiteral("filePath"), empty},
        {QStringLiteral("fileExtn"), empty},
        {QStringLiteral("filePrefix"), QVariantList{QStringLiteral(".DS_Store"), QStringLiteral(".localized")}},
        {QStringLiteral("hidden"), false},
        {QStringLiteral("dirNotDelete"), toList(defaultNotDeletablePaths())},
    };
    QVariantMap soft{
        {QStringLiteral("dirPath"), empty},   {QStringLiteral("dirPrefix"), empty},
        {QStringLiteral("dirExtn"), empty},   {QStringLiteral("filePath"), empty},
        {QStringLiteral("fileExtn"), empty},  {QStringLiteral("filePrefix"), empty},
        {QStringLiteral("filePackage"), false}, {QStringLiteral("hidden"), false},
    };
    QVariantMap smart{{QStringLiteral("dirPath"), empty}, {QStringLiteral("fileExtn"), empty}};
    return {{QStringLiteral("Hard"), hard}, {QStringLiteral("Soft"), soft}, {QStringLiteral("Smart"), smart}};
}

void ExclusionList::makeStartupExclusionFileIfMissing()
{
    const QString path = Paths::inDocuments(QStringLiteral("exclusion.plist"));
    if (QFileInfo::exists(path))
        return;
    // "/System" is listed: the platform version that would leave it out cannot be read here.
    const QStringList excludePath{QStringLiteral("/Network"), QStringLiteral("/net"),
                                  QStringLiteral("/home"),    QStringLiteral("/System"),
                                  QStringLiteral("/bin"),     QStringLiteral("/private"),
                                  QStringLiteral("/sbin"),    QStringLiteral("/usr")};
    const QStringList excludeFile{QStringLiteral("/dev"), QStringLiteral("/etc")};
    Plist::writeFile(path, QVariantMap{{QStringLiteral("excludePath"), toList(excludePath)},
                                       {QStringLiteral("excludeFile"), toList(excludeFile)}});
}

void ExclusionList::readAndLoadExclusionList()
{
    const QString path = filePath();
    loadProblem_.clear();
    if (!QFileInfo::exists(path)) {
        makeExclusionListFile();
        return;
    }
    QString why;
    dictExclusion_ = Plist::readDictionary(path, &why);
    if (!why.isEmpty()) {
        // Scanning with nothing excluded would walk the kernel's virtual file systems;
        // writing the defaults over the file would lose the user's list. Neither: use the
        // defaults for this run and leave the file for the user to mend.
        loadProblem_ = QStringLiteral("The exclusion list %1 cannot be read (%2); the default exclusions are "
                                      "used and the file is left as it is.")
                           .arg(path, why);
        qvlog(QStringLiteral("ExclusionList: ") + loadProblem_);
        dictExclusion_ = defaultExclusionDict();
    }
    deriveLists();
}

void ExclusionList::makeExclusionListFile()
{
    dictExclusion_ = defaultExclusionDict();
    Plist::writeFile(filePath(), dictExclusion_);
    deriveLists();
}

void ExclusionList::deriveLists()
{
    const QVariantMap hard = dictExclusion_.value(QStringLiteral("Hard")).toMap();
    const QVariantMap soft = dictExclusion_.value(QStringLiteral("Soft")).toMap();
    excDirPath_ = Plist::stringList(hard, QStringLiteral("dirPath"))
                  + Plist::stringList(hard, QStringLiteral("filePath"));
    dirNotDeleted_ = Plist::stringList(hard, QStringLiteral("dirNotDelete"));
    dirNotDeleted_.append(Paths::home() + QStringLiteral("/Library"));
    dirNotDeleted_.append(Paths::home() + QStringLiteral("/Applications"));
    excludeFilePackage_ = soft.value(QStringLiteral("filePackage")).toBool();
    excludedBytes_.clear();
    for (const QString& entry : excDirPath_) {
        const QByteArray bytes = QFile::encodeName(entry);
        excludedBytes_.emplace_back(bytes.constData(), size_t(bytes.size()));
    }
}

bool ExclusionList::sparesVolumeArea(std::string_view entry, std::string_view path)
{
    for (std::string_view area : {std::string_view("/media"), std::string_view("/run/media")}) {
        if (entry.size() >= area.size() || !area.starts_with(entry) || !path.starts_with(area))
            continue;
        if (path.size() == area.size() || path[area.size()] == '/')
            return true;
    }
    return false;
}

bool ExclusionList::isExcludedDirectory(std::string_view pathBytes) const
{
    for (const std::string& entry : excludedBytes_)
        if (pathBytes.starts_with(entry) && !sparesVolumeArea(entry, pathBytes))
            return true;
    return false;
}

bool ExclusionList::isExcludedDirectory(const QString& path) const
{
    const QByteArray bytes = QFile::encodeName(path);
    return isExcludedDirectory(std::string_view(bytes.constData(), size_t(bytes.size())));
}

bool ExclusionList::isNotDeletableItem(const UserIdentity& user, const AccessFacts& item,
                                       const AccessFacts& parent) const
{
    if (dirNotDeleted_.isEmpty())
        return false;
    return ItemAccess::isDeletable(user, item, parent) && ItemAccess::isWritable(user, item);
}

bool ExclusionList::isNotDeletableItem(const QString& path) const
{
    if (dirNotDeleted_.isEmpty())
        return false;
    const QByteArray bytes = QFile::encodeName(path);
    const qsizetype slash = bytes.lastIndexOf('/');
    const QByteArray parentBytes = slash < 0 ? QByteArray(".") : bytes.left(qMax(qsizetype(1), slash));
    AccessFacts item, parent;
    if (!ItemAccess::readFacts(bytes.constData(), item)
        || !ItemAccess::readFacts(parentBytes.constData(), parent))
        return false;
    return isNotDeletableItem(UserIdentity::current(), item, parent);
}

std::shared_ptr<const ExclusionList> ExclusionList::shared()
{
    std::lock_guard lock(g_sharedMutex);
    return g_shared;
}

void ExclusionList::setShared(std::shared_ptr<const ExclusionList> list)
{
    std::lock_guard lock(g_sharedMutex);
    g_shared = list ? std::move(list) : std::make_shared<const ExclusionList>();
}

std::shared_ptr<const ExclusionList> ExclusionList::loadShared()
{
    auto list = std::make_shared<ExclusionList>();
    list->readAndLoadExclusionList();
    setShared(list);
    return list;
}

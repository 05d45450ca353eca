#include "scan/DirectoryParser.h"

#include "settings/CommonFuncs.h"
#include "settings/Paths.h"
#include "settings/TextFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sys/statvfs.h>

namespace {

// mountinfo writes space, tab, newline and backslash in names as \ooo.
QString decodeMountField(const QByteArray& field)
{
    const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1])
            && isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            out.append(char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
            i += 3;
            continue;
        }
        out.append(field[i]);
    }
    return QFile::decodeName(out);
}

QString labelForDevice(const QString& source)
{
    QDir byLabel(QStringLiteral("/dev/disk/by-label"));
    const QString device = QFileInfo(source).canonicalFilePath();
    if (device.isEmpty())
        return {};
    const QFileInfoList links = byLabel.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo& link : links)
        if (link.canonicalFilePath() == device)
            return decodeMountField(QFile::encodeName(link.fileName()));
    return {};
}

bool isRemovableDevice(const QString& deviceId)
{
    QString dir = QFileInfo(QStringLiteral("/sys/dev/block/") + deviceId).canonicalFilePath();
    if (dir.isEmpty())
        return false;
    if (QFileInfo::exists(dir + QStringLiteral("/partition")))
        dir = QFileInfo(dir).absolutePath();
    QFile flag(dir + QStringLiteral("/removable"));
    return flag.open(QIODevice::ReadOnly) && flag.readAll().trimmed() == "1";
}

QString displayName(const MountEntry& mount, const VolumeInfo& info)
{
    if (!info.label.isEmpty())
        return info.label;
    if (mount.mountPoint == QLatin1String("/"))
        return mount.mountPoint;
    return QFileInfo(mount.mountPoint).fileName();
}

} // namespace

bool VolumeProbe::fileSystemBlocks(const MountEntry& mount, FileSystemBlocks& out) const
{
    struct statvfs vfs {};
    if (::statvfs(QFile::encodeName(mount.mountPoint).constData(), &vfs) != 0)
        return false;
    out.blocks = vfs.f_blocks;
    out.blocksFree = vfs.f_bfree;
    out.blocksAvailable = vfs.f_bavail;
    out.fragmentSize = vfs.f_frsize;
    return true;
}

void VolumeProbe::setSizes(VolumeInfo& info, const FileSystemBlocks& blocks)
{
    info.total = blocks.blocks * blocks.fragmentSize;
    info.free = blocks.blocksAvailable * blocks.fragmentSize;
    info.used = blocks.blocks >= blocks.blocksFree ? (blocks.blocks - blocks.blocksFree) * blocks.fragmentSize : 0;
}

VolumeInfo VolumeProbe::probe(const MountEntry& mount) const
{
    VolumeInfo info;
    FileSystemBlocks blocks;
    if (!fileSystemBlocks(mount, blocks))
        return info;
    info.ok = true;
    setSizes(info, blocks);
    info.label = labelForDevice(mount.source);
    info.removable = isRemovableDevice(mount.deviceId);
    return info;
}

std::vector<MountEntry> DirectoryParser::parseMountInfo(const QByteArray& text)
{
    std::vector<MountEntry> mounts;
    QSet<QString> seen;
    for (const QByteArray& line : text.split('\n')) {
        // id parent major:minor root mount-point options [optional fields...] - type source super-options
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf(QByteArrayLiteral("-"));
        if (fields.size() < 6 || dash < 6 || dash + 2 >= fields.size())
            continue;
        MountEntry entry;
        entry.deviceId = QString::fromLatin1(fields[2]);
        entry.mountPoint = decodeMountField(fields[4]);
        const auto hasReadOnly = [](const QByteArray& options) { return options.split(',').contains("ro"); };
        entry.readOnly = hasReadOnly(fields[5]) || (dash + 3 < fields.size() && hasReadOnly(fields[dash + 3]));
        entry.fsType = QString::fromLatin1(fields[dash + 1]);
        entry.source = decodeMountField(fields[dash + 2]);
        if (seen.contains(entry.mountPoint))
            continue;
        seen.insert(entry.mountPoint);
        mounts.push_back(std::move(entry));
    }
    return mounts;
}

bool DirectoryParser::isPseudoFileSystem(const QString& fsType)
{
    static const QSet<QString> pseudo{
        QStringLiteral("proc"),      QStringLiteral("sysfs"),       QStringLiteral("devtmpfs"),
        QStringLiteral("tmpfs"),     QStringLiteral("devpts"),      QStringLiteral("cgroup"),
        QStringLiteral("cgroup2"),   QStringLiteral("overlay"),     QStringLiteral("squashfs"),
        QStringLiteral("securityfs"), QStringLiteral("debugfs"),    QStringLiteral("tracefs"),
        QStringLiteral("pstore"),    QStringLiteral("bpf"),         QStringLiteral("mqueue"),
        QStringLiteral("hugetlbfs"), QStringLiteral("fusectl"),     QStringLiteral("configfs"),
        QStringLiteral("autofs"),    QStringLiteral("binfmt_misc"), QStringLiteral("efivarfs"),
        QStringLiteral("nsfs"),      QStringLiteral("ramfs"),       QStringLiteral("rpc_pipefs")};
    return pseudo.contains(fsType);
}

bool DirectoryParser::isNetworkFileSystem(const QString& fsType)
{
    static const QSet<QString> network{
        QStringLiteral("cifs"), QStringLiteral("smb3"),       QStringLiteral("smbfs"),
        QStringLiteral("nfs"),  QStringLiteral("nfs4"),       QStringLiteral("fuse.sshfs"),
        QStringLiteral("9p"),   QStringLiteral("afs"),        QStringLiteral("ceph"),
        QStringLiteral("glusterfs")};
    return network.contains(fsType);
}

bool DirectoryParser::isInExternalVolumeArea(const QString& path)
{
    return path.startsWith(QLatin1String("/media/")) || path.startsWith(QLatin1String("/run/media/"));
}

std::vector<DriveNode> DirectoryParser::getDiskDrives()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return getDiskDrives(parseMountInfo(file.readAll()), VolumeProbe());
}

std::vector<DriveNode> DirectoryParser::getDiskDrives(const std::vector<MountEntry>& mounts, const VolumeProbe& probe)
{
    std::vector<DriveNode> drives;
    for (const MountEntry& mount : mounts) {
        if (isPseudoFileSystem(mount.fsType))
            continue;
        const VolumeInfo info = probe.probe(mount);
        if (!info.ok)
            continue;
        const QString name = displayName(mount, info);
        const QString& path = mount.mountPoint;
        const bool isRoot = path == QLatin1String("/");
        const bool external = isInExternalVolumeArea(path);
        if (name == QLatin1String("Time Capsule") || name == QLatin1String("Time Machine Backups"))
            continue;
        if (info.total == 0 || name.endsWith(QLatin1String("dmg")) || (!isRoot && !external))
            continue;
        if (mount.readOnly && !isRoot)
            continue;
        if (isNetworkFileSystem(mount.fsType))
            continue;

        DriveNode node;
        node.path = path;
        node.name = name;
        node.size = info.total;
        node.sizeFree = info.free;
        node.sizeUsed = info.used;
        node.isRemovable = info.removable;
        node.isWritable = !mount.readOnly;
        node.isUnmountable = !isRoot && external;
        if (isRoot && !info.removable)
            node.desc = CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_STARTUP_DISK"));
        else if (external)
            node.desc = TextFormat::format(QStringLiteral("%@ %@"), {mount.fsType.toUpper(), QStringLiteral("Volumes")});
        node.type = mount.fsType;
        drives.push_back(std::move(node));
    }
    return drives;
}

DriveNode DirectoryParser::homeFolderNode()
{
    DriveNode node;
    node.path = Paths::home();
    node.name = QFileInfo(node.path).fileName();
    node.isWritable = true;
    node.desc = CommonFuncs::getLocalizedStringForKey(QStringLiteral("ID_USER_FOLDER"));
    return node;
}

double DirectoryParser::usagePercent(const DriveNode& node)
{
    const std::uint64_t fillable = node.usedSize() + node.sizeFree;
    return double(node.usedSize()) * 100.0 / double(CommonFuncs::denominator(fillable));
}

QString DirectoryParser::volumeColumnText(const DriveNode& node, const QString& column)
{
    if (column == QLatin1String("Drive"))
        return node.name;
    if (column == QLatin1String("Capacity"))
        return CommonFuncs::unitForSizeDriveSize(node.size);
    if (column == QLatin1String("Usage"))
        return QString::number(usagePercent(node), 'f', 2);
    if (column == QLatin1String("Free"))
        return CommonFuncs::unitForSizeDriveSize(node.sizeFree);
    return QString();
}

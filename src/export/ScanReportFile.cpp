#include "export/ScanReportFile.h"

#include "scan/TFoldInfo.h"
#include "settings/Paths.h"
#include "settings/Plist.h"
#include "settings/TextFormat.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <sys/utsname.h>

namespace ScanReportFile {

QString filePath() { return Paths::inDocuments(QStringLiteral("ScanReport.plist")); }

SystemVersion systemVersion()
{
    SystemVersion version;
    utsname name {};
    if (::uname(&name) != 0)
        return version;
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?")).match(QString::fromLatin1(name.release));
    if (m.hasMatch()) {
        version.major = m.captured(1).toInt();
        version.minor = m.captured(2).toInt();
        version.patch = m.captured(3).toInt();
    }
    return version;
}

QVariantMap getSystemInfo(const SystemVersion& v)
{
    const QString version = TextFormat::format(QStringLiteral("%d.%d"), {v.major, v.minor});
    static const QVariantMap names{
        {QStringLiteral("10.6"), QStringLiteral("Snow Leopard")}, {QStringLiteral("10.7"), QStringLiteral("Lion")},
        {QStringLiteral("10.8"), QStringLiteral("Mountain Lion")}, {QStringLiteral("10.9"), QStringLiteral("Mavericks")},
        {QStringLiteral("10.10"), QStringLiteral("Yosemite")}};
    const QString osName = names.contains(version)
                               ? names.value(version).toString()
                               : TextFormat::format(QStringLiteral("Mac OS X %d.%d.%d"), {v.major, v.minor, v.patch});
    return {{QStringLiteral("version"), version}, {QStringLiteral("osName"), osName}};
}

QVariantMap reportDictionary(std::span<TFoldInfo* const> topFiles, std::span<const OverviewRow> overview,
                             const TFoldInfo* selectedFolder)
{
    QVariantMap root;
    QVariantList files;
    for (std::size_t i = 0; i < topFiles.size() && i <= 100; ++i) {
        const TFoldInfo* node = topFiles[i];
        files.append(QVariantMap{{QStringLiteral("filePath"), node->sPath()},
                                 {QStringLiteral("fileSize"), qint64(node->cSize())},
                                 {QStringLiteral("fileName"), node->sName()}});
    }
    for (const OverviewRow& row : overview)
        root.insert(row.sType, QVariantMap{{QStringLiteral("filesCount"), row.files},
                                           {QStringLiteral("fileSize"), qint64(row.size)}});
    QVariantMap summary;
    if (selectedFolder) {
        summary.insert(QStringLiteral("scannedPath"), selectedFolder->sPath());
        summary.insert(QStringLiteral("scannedPathSize"), qint64(selectedFolder->cSize()));
        summary.insert(QStringLiteral("scannedPathFiles"), qint64(selectedFolder->cFiles()));
        summary.insert(QStringLiteral("scannedPathFolders"), qint64(selectedFolder->cFolders()));
    }
    // The fixed keys win over an overview row that happens to carry the same name.
    root.insert(QStringLiteral("topFiles"), files);
    root.insert(QStringLiteral("summary"), summary);
    root.insert(QStringLiteral("systemInfo"), getSystemInfo());
    return root;
}

bool writeScanReportFile(std::span<TFoldInfo* const> topFiles, std::span<const OverviewRow> overview,
                         const TFoldInfo* selectedFolder)
{
    const QString path = filePath();
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return false;
    return Plist::writeFile(path, reportDictionary(topFiles, overview, selectedFolder));
}

} // namespace ScanReportFile

#include "cli/VolumesCommand.h"

#include "cli/CliCommon.h"
#include "scan/DirectoryParser.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Cli {

namespace {

QJsonObject toJson(const DriveNode& drive)
{
    return QJsonObject{
        {QStringLiteral("name"), drive.name},
        {QStringLiteral("path"), drive.path},
        {QStringLiteral("size"), qint64(drive.size)},
        {QStringLiteral("free"), qint64(drive.sizeFree)},
        {QStringLiteral("used"), qint64(drive.sizeUsed)},
        {QStringLiteral("removable"), drive.isRemovable},
        {QStringLiteral("writable"), drive.isWritable},
        {QStringLiteral("unmountable"), drive.isUnmountable},
        {QStringLiteral("desc"), drive.desc.isNull() ? QJsonValue() : QJsonValue(drive.desc)},
        {QStringLiteral("type"), drive.type.isNull() ? QJsonValue() : QJsonValue(drive.type)},
    };
}

} // namespace

int runVolumes(const QStringList& arguments)
{
    QStringList args = arguments;
    const bool json = takeFlag(args, QStringLiteral("--json"));
    if (!args.isEmpty()) {
        printError(QStringLiteral("volumes takes no arguments besides --json"));
        return ExitCode::Usage;
    }
    const std::vector<DriveNode> drives = DirectoryParser::getDiskDrives();
    if (json) {
        QJsonArray list;
        for (const DriveNode& drive : drives)
            list.append(toJson(drive));
        printOut(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact)) + QLatin1Char('\n'));
        return ExitCode::Ok;
    }
    const QStringList columns{QStringLiteral("Drive"), QStringLiteral("Capacity"), QStringLiteral("Usage"),
                              QStringLiteral("Free")};
    printOut(QStringLiteral("%1 %2 %3 %4  %5\n")
                 .arg(columns[0], -24)
                 .arg(columns[1], 12)
                 .arg(QStringLiteral("Usage %"), 8)
                 .arg(columns[3], 12)
                 .arg(QStringLiteral("Path")));
    for (const DriveNode& drive : drives)
        printOut(QStringLiteral("%1 %2 %3 %4  %5\n")
                     .arg(DirectoryParser::volumeColumnText(drive, columns[0]), -24)
                     .arg(DirectoryParser::volumeColumnText(drive, columns[1]), 12)
                     .arg(DirectoryParser::volumeColumnText(drive, columns[2]), 8)
                     .arg(DirectoryParser::volumeColumnText(drive, columns[3]), 12)
                     .arg(drive.path));
    return ExitCode::Ok;
}

} // namespace Cli

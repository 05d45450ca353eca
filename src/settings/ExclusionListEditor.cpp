#include "settings/ExclusionListEditor.h"

#include "settings/ExclusionList.h"
#include "settings/Log.h"
#include "settings/Paths.h"
#include "settings/Plist.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

const QString kHard = QStringLiteral("Hard");
const QString kDirPath = QStringLiteral("dirPath");
const QString kFilePath = QStringLiteral("filePath");

QVariantList toList(const QStringList& strings)
{
    QVariantList out;
    for (const QString& s : strings)
        out.append(s);
    return out;
}

// Moves a file that cannot be parsed out of the way; false when it cannot be moved.
bool keepBrokenFileAside(const QString& file)
{
    const QString backup = Paths::brokenFileBackupPath(file);
    if (!QFile::rename(file, backup)) {
        qvlog(QStringLiteral("updateExcludeFile: %1 cannot be parsed nor moved aside; nothing is written").arg(file));
        return false;
    }
    qvlog(QStringLiteral("updateExcludeFile: %1 could not be parsed; it is kept as %2").arg(file, backup));
    return true;
}

// The file's dictionary to write the lists into: what it holds, or the defaults when it is
// missing or had to be moved aside. Absent when a broken file could not be moved.
std::optional<QVariantMap> dictionaryToUpdate(const QString& file)
{
    if (!QFileInfo::exists(file))
        return ExclusionList::defaultExclusionDict();
    const Plist::ReadResult read = Plist::readFile(file);
    if (read && read.value->typeId() == QMetaType::QVariantMap)
        return read.value->toMap();
    if (!keepBrokenFileAside(file))
        return std::nullopt;
    return ExclusionList::defaultExclusionDict();
}

} // namespace

ExclusionListEditor::ExclusionListEditor() { reload(); }

void ExclusionListEditor::reload()
{
    const QVariantMap hard = Plist::readDictionary(ExclusionList::filePath()).value(kHard).toMap();
    paths_ = Plist::stringList(hard, kDirPath);
    files_ = Plist::stringList(hard, kFilePath);
}

void ExclusionListEditor::addExcludePath(const QString& path)
{
    qvlog(QStringLiteral("addExcludePath:") + path);
    paths_.append(path);
    updateExcludeFile();
}

void ExclusionListEditor::addExcludeFile(const QString& path)
{
    qvlog(QStringLiteral("addExcludeFile:") + path);
    files_.append(path);
    updateExcludeFile();
}

bool ExclusionListEditor::removeExcludePathAtIndex(int index)
{
    if (index < 0 || index >= paths_.size())
        return false;
    qvlog(QStringLiteral("removeExcludePathAtIndex:%1").arg(index));
    paths_.removeAt(index);
    updateExcludeFile();
    return true;
}

bool ExclusionListEditor::removeExcludeFileAtIndex(int index)
{
    if (index < 0 || index >= files_.size())
        return false;
    qvlog(QStringLiteral("removeExcludeFileAtIndex:%1").arg(index));
    files_.removeAt(index);
    updateExcludeFile();
    return true;
}

void ExclusionListEditor::resetToDefaults()
{
    qvlog(QStringLiteral("ExcludeViewController btnResetDefaultTapped:"));
    QFile::remove(ExclusionList::filePath());
    ExclusionList::loadShared();
    reload();
}

bool ExclusionListEditor::updateExcludeFile()
{
    const QString file = ExclusionList::filePath();
    bool written = false;
    if (std::optional<QVariantMap> dict = dictionaryToUpdate(file)) {
        QVariantMap hard = dict->value(kHard).toMap();
        hard.insert(kDirPath, toList(paths_));
        hard.insert(kFilePath, toList(files_));
        dict->insert(kHard, hard);
        QString error;
        written = Plist::writeFile(file, *dict, &error);
        if (!written)
            qvlog(QStringLiteral("updateExcludeFile: %1 could not be written: %2").arg(file, error));
    }
    ExclusionList::loadShared();
    return written;
}

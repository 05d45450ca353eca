#include "app/InitailWindowViewController.h"

#include "app/AppDelegate.h"
#include "base/UserInterface.h"
#include "scan/DirectoryParser.h"
#include "settings/CommonFuncs.h"
#include "settings/Log.h"
#include "settings/Paths.h"
#include "settings/TextFormat.h"

#include <algorithm>

namespace {
QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QLatin1String(key)); }
} // namespace

InitailWindowViewController::InitailWindowViewController(AppDelegate& app, UserInterface& ui, QObject* parent)
    : QObject(parent), app_(app), ui_(ui)
{
    arrDiskDrive_.push_back(DirectoryParser::homeFolderNode());
    radioOn_.assign(arrDiskDrive_.size(), false);
    for (std::size_t i = 0; i < arrDiskDrive_.size(); ++i)
        radioOn_[i] = arrDiskDrive_[i].path.toLower() == Paths::home().toLower();
}

InitailWindowViewController::RowTexts InitailWindowViewController::rowTexts(int row) const
{
    RowTexts texts;
    if (row < 0 || std::size_t(row) >= arrDiskDrive_.size())
        return texts;
    const DriveNode& drive = arrDiskDrive_[std::size_t(row)];
    texts.usage = DirectoryParser::usagePercent(drive);
    texts.radioOn = radioOn_[std::size_t(row)];
    texts.radioImage = texts.radioOn ? QStringLiteral("big_select_radio.png") : QStringLiteral("big_unselect_radio.png");
    if (drive.path.toLower() == Paths::home().toLower()) {
        texts.lblDiskAvailSize = text("ID_SCAN_RECOMMENDED");
        texts.lblDiskSize = drive.desc;
    } else {
        texts.lblDiskSize = CommonFuncs::unitForSize(drive.size);
        texts.lblDiskAvailSize = TextFormat::format(QStringLiteral("%@: %@"),
                                                    {text("ID_USED_SPACE"), CommonFuncs::unitForSize(drive.usedSize())});
        texts.lblDiskType = drive.desc;
    }
    return texts;
}

QString InitailWindowViewController::startButtonTitle() { return text("ID_START_SCAN"); }
QString InitailWindowViewController::selectFolderTitle() { return text("ID_SELECT_FOLDER_TO_SCAN"); }
QString InitailWindowViewController::titleText() { return text("ID_PERMISSION_FOR_DRIVE"); }

int InitailWindowViewController::tableHeight() const { return 53 * int(std::min<std::size_t>(arrDiskDrive_.size(), 8)); }

void InitailWindowViewController::radioButtonTappedForDriveCell(int row)
{
    for (std::size_t i = 0; i < radioOn_.size(); ++i)
        radioOn_[i] = int(i) == row;
    Q_EMIT changed();
}

void InitailWindowViewController::btnStartScanTapped()
{
    const auto on = std::find(radioOn_.begin(), radioOn_.end(), true);
    if (on == radioOn_.end())
        return;
    homeDirectoryPath_ = arrDiskDrive_[std::size_t(on - radioOn_.begin())].path;
    startEnabled_ = false;
    Q_EMIT changed();
    scanChosenPath();
}

void InitailWindowViewController::scanDriveForCell(int row)
{
    if (row < 0 || std::size_t(row) >= arrDiskDrive_.size())
        return;
    homeDirectoryPath_ = arrDiskDrive_[std::size_t(row)].path;
    startEnabled_ = false;
    Q_EMIT changed();
    scanChosenPath();
}

void InitailWindowViewController::scanChosenPath()
{
    if (CommonFuncs::loadFromBookmarkPath(homeDirectoryPath_))
        startParsingForPath(homeDirectoryPath_);
    else
        openPanelToSelectDirectoryAt(homeDirectoryPath_);
}

void InitailWindowViewController::openPanelToSelectDirectoryAt(const QString& path)
{
    FolderChoice choice;
    choice.prompt = text("ID_SELECT");
    choice.startFolder = path;
    const std::optional<QString> chosen = ui_.chooseFolder(choice);
    // Only the folder the permission is asked for may be confirmed.
    if (chosen && chosen->toLower() == homeDirectoryPath_.toLower()) {
        startParsingForPath(*chosen);
        CommonFuncs::saveBookmarkPath(*chosen);
    } else {
        qvlog(QStringLiteral("NSFileHandlingPanelCancelButton"));
    }
    startEnabled_ = true;
    Q_EMIT changed();
}

void InitailWindowViewController::btnScanFolderTapped()
{
    FolderChoice choice;
    choice.prompt = text("ID_SELECT");
    choice.startFolder = Paths::home();
    choice.canCreateFolders = true;
    const std::optional<QString> chosen = ui_.chooseFolder(choice);
    if (chosen && !chosen->isEmpty())
        startParsingForPath(*chosen);
}

void InitailWindowViewController::startParsingForPath(const QString& path)
{
    Q_EMIT closeRequested();
    app_.scanInitialWindowPath(path);
    startEnabled_ = true;
    Q_EMIT changed();
}

void InitailWindowViewController::btnCloseAppTapped()
{
    Q_EMIT closeRequested();
    if (!app_.isScannedSomeThing())
        Q_EMIT quitRequested();
}

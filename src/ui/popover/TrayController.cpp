#include "ui/popover/TrayController.h"

#include "app/AppDelegate.h"
#include "scan/TFoldInfo.h"
#include "settings/CommonFuncs.h"
#include "settings/TextFormat.h"
#include "ui/icons/IconProvider.h"
#include "ui/popover/DockPopover.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QWidget>

namespace {

QString text(const char* key) { return CommonFuncs::getLocalizedStringForKey(QString::fromLatin1(key)); }

// The application icon in one colour, drawn from its alpha so it matches a light or dark
// panel like the other status icons (the palette's window text colour).
QIcon monochromeIcon()
{
    const QIcon source = IconProvider::shared().programIcon();
    QIcon icon;
    const QColor ink = QApplication::palette().color(QPalette::WindowText);
    for (int size : {16, 22, 24, 32, 48}) {
        QPixmap pixmap = source.pixmap(size, size);
        if (pixmap.isNull())
            continue;
        QPainter painter(&pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(pixmap.rect(), ink);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon.isNull() ? source : icon;
}

} // namespace

TrayController::TrayController(AppDelegate& controller, QWidget* mainWindow, DockPopover& popover, QObject* parent)
    : QObject(parent)
    , controller_(controller)
    , mainWindow_(mainWindow)
    , popover_(popover)
{
    connect(&popover_, &DockPopover::openAppRequested, this, &TrayController::openAppFromBackground);
    connect(&popover_, &DockPopover::preferencesRequested, this, &TrayController::preferencesRequested);
    connect(&popover_, &DockPopover::helpRequested, this, &TrayController::helpRequested);
    connect(&popover_, &DockPopover::quitRequested, this, &TrayController::quitRequested);
    connect(&controller_, &AppDelegate::scanFinished, this, &TrayController::scanFinished);

    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        createTrayIcon();
    } else {
        summaryAction_ = new QAction(IconProvider::shared().themeIcon(QStringLiteral("view-statistics"),
                                                                      QStyle::SP_FileDialogInfoView,
                                                                      QStringLiteral("x-office-spreadsheet")),
                                     text("ID_SUMMARY"), this);
        summaryAction_->setObjectName(QStringLiteral("summaryAction"));
    }
}

void TrayController::forceTrayIcon()
{
    if (!tray_)
        createTrayIcon();
}

void TrayController::createTrayIcon()
{
    tray_ = new QSystemTrayIcon(monochromeIcon(), this);
    tray_->setToolTip(QApplication::applicationDisplayName());
    trayMenu_ = new QMenu;
    connect(this, &QObject::destroyed, trayMenu_, &QObject::deleteLater);
    connect(trayMenu_->addAction(QStringLiteral("Help")), &QAction::triggered, this, &TrayController::helpRequested);
    connect(trayMenu_->addAction(QStringLiteral("Preferences")), &QAction::triggered, this, [this] {
        openAppFromBackground();
        Q_EMIT preferencesRequested();
    });
    trayMenu_->addSeparator();
    connect(trayMenu_->addAction(QStringLiteral("Quit")), &QAction::triggered, this, &TrayController::quitRequested);
    tray_->setContextMenu(trayMenu_);
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason != QSystemTrayIcon::Trigger)
            return;
        const QRect area = tray_->geometry();
        popover_.showAt(area.isValid() ? QPoint(area.center().x(), area.bottom() + 4) : QCursor::pos());
    });
    connect(tray_, &QSystemTrayIcon::messageClicked, this, &TrayController::openAppFromBackground);
    tray_->show();
}

void TrayController::showPopoverUnder(QWidget* anchor)
{
    const QPoint below = anchor ? anchor->mapToGlobal(QPoint(anchor->width() / 2, anchor->height() + 2)) : QCursor::pos();
    popover_.showAt(below);
}

void TrayController::openAppFromBackground()
{
    if (!mainWindow_)
        return;
    if (mainWindow_->isMinimized())
        mainWindow_->showNormal();
    else
        mainWindow_->show();
    mainWindow_->raise();
    mainWindow_->activateWindow();
}

void TrayController::scanFinished(TFoldInfo* root)
{
    if (!tray_ || !root || !mainWindow_ || !QSystemTrayIcon::supportsMessages())
        return;
    if (mainWindow_->isVisible() && !mainWindow_->isMinimized())
        return;
    const QString message = TextFormat::format(text("ID_SCAN_FINISHED_NOTICE"),
                                               {root->sPath(), CommonFuncs::unitForSize(root->cSize()),
                                                static_cast<qint64>(root->cFiles())});
    tray_->showMessage(QApplication::applicationDisplayName(), message, QSystemTrayIcon::Information);
}

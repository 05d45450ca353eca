#include "ui/GuiUserInterface.h"

#include "settings/Log.h"
#include "ui/PreviewWindow.h"
#include "ui/UiTexts.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

GuiUserInterface::GuiUserInterface() = default;

GuiUserInterface::~GuiUserInterface()
{
    delete preview_.data();
}

void GuiUserInterface::alert(const QString& message, const QString& informative)
{
    QMessageBox box(parent_);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(QCoreApplication::applicationName());
    box.setText(message);
    box.setInformativeText(informative);
    QPushButton* ok = box.addButton(uiText("ID_OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.exec();
}

bool GuiUserInterface::confirm(const QString& message, const QString& informative)
{
    return confirm(message, informative, uiText("ID_YES"), uiText("ID_NO"));
}

bool GuiUserInterface::confirm(const QString& message, const QString& informative, const QString& defaultButton,
                               const QString& otherButton)
{
    QMessageBox box(parent_);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QCoreApplication::applicationName());
    // An empty message leaves the question in the informative text; show it as the main one.
    box.setText(message.isEmpty() ? informative : message);
    if (!message.isEmpty())
        box.setInformativeText(informative);
    QPushButton* yes = box.addButton(defaultButton, QMessageBox::YesRole);
    QPushButton* no = box.addButton(otherButton, QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> GuiUserInterface::chooseFolder(const FolderChoice& choice)
{
    QFileDialog dialog(parent_, choice.title, choice.startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    QFileDialog::Options options = QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog;
    if (!choice.canCreateFolders)
        options |= QFileDialog::ReadOnly; // the Qt dialog's way of offering no "new folder"
    dialog.setOptions(options);
    if (!choice.prompt.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, choice.prompt);
    if (!choice.message.isEmpty())
        dialog.setLabelText(QFileDialog::LookIn, choice.message);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return QString();
    return chosen.front();
}

void GuiUserInterface::preview(const QString& path)
{
    if (!preview_)
        preview_ = new PreviewWindow(parent_);
    preview_->showItem(path);
}

bool GuiUserInterface::showItemsInFileManager(const QStringList& paths)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QStringList uris;
    for (const QString& path : paths)
        uris << QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded()); // spaces and non-ASCII encoded
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << uris << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, 3000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

void GuiUserInterface::reveal(const QString& path)
{
    if (showItemsInFileManager({path}))
        return;
    qvlog(QStringLiteral("no file manager answered; opening the folder of %1").arg(path));
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

void GuiUserInterface::open(const QString& path)
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        qvlog(QStringLiteral("no application opened %1").arg(path));
}

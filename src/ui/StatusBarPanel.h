#pragma once

#include <QWidget>

class AppDelegate;
class ElidedLabel;
class QLabel;

// The main window's status line about the selected folder: its icon and path (shortened in
// the middle), then "Size", "Size on Disk", "Files" and "Folders", each label as wide as its
// text, ten pixels apart with a separator between them. Empty when nothing is selected.
class StatusBarPanel : public QWidget {
    Q_OBJECT
public:
    StatusBarPanel(AppDelegate& app, QWidget* parent = nullptr);

    // Reads the texts again from the controller.
    void refresh();

    QString pathText() const;
    QString sizeText() const;
    QString sizeOnDiskText() const;
    QString filesText() const;
    QString foldersText() const;

private:
    AppDelegate& app_;
    QLabel* icon_;
    ElidedLabel* path_;
    QLabel* size_;
    QLabel* sizeOnDisk_;
    QLabel* files_;
    QLabel* folders_;
    QList<QWidget*> separators_;
};

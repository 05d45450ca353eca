#include "ui/StatusBarPanel.h"

#include "app/AppDelegate.h"
#include "ui/ElidedLabel.h"
#include "ui/icons/IconProvider.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

namespace {
QLabel* fittingLabel()
{
    auto* label = new QLabel;
    label->setTextFormat(Qt::PlainText);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred); // as wide as its text
    return label;
}

QFrame* separator()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(14);
    return line;
}
} // namespace

StatusBarPanel::StatusBarPanel(AppDelegate& app, QWidget* parent)
    : QWidget(parent), app_(app), icon_(new QLabel), path_(new ElidedLabel(Qt::ElideMiddle)), size_(fittingLabel()),
      sizeOnDisk_(fittingLabel()), files_(fittingLabel()), folders_(fittingLabel())
{
    setObjectName(QStringLiteral("statusBarPanel"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(0);
    icon_->setFixedSize(16, 16);
    layout->addWidget(icon_);
    layout->addSpacing(6);
    layout->addWidget(path_, 1);
    layout->addSpacing(10);
    QLabel* const counts[] = {size_, sizeOnDisk_, files_, folders_};
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            // Labels stand 10 px apart with the separator 4 px from the label before it.
            layout->addSpacing(4);
            QFrame* line = separator();
            separators_ << line;
            layout->addWidget(line);
            layout->addSpacing(6);
        }
        layout->addWidget(counts[i]);
    }
    connect(&app_, &AppDelegate::statusBarChanged, this, &StatusBarPanel::refresh);
    connect(&app_, &AppDelegate::selectedFolderChanged, this, &StatusBarPanel::refresh);
    refresh();
}

void StatusBarPanel::refresh()
{
    const TFoldInfo* folder = app_.selectedFolder();
    icon_->setPixmap(folder ? IconProvider::shared().folderIcon().pixmap(16, 16) : QPixmap());
    path_->setFullText(app_.statusBarPath());
    size_->setText(app_.statusBarSize());
    sizeOnDisk_->setText(app_.statusBarSizeOnDisk());
    files_->setText(app_.statusBarFiles());
    folders_->setText(app_.statusBarFolders());
    for (QWidget* line : std::as_const(separators_))
        line->setVisible(folder != nullptr);
}

QString StatusBarPanel::pathText() const { return path_->fullText(); }
QString StatusBarPanel::sizeText() const { return size_->text(); }
QString StatusBarPanel::sizeOnDiskText() const { return sizeOnDisk_->text(); }
QString StatusBarPanel::filesText() const { return files_->text(); }
QString StatusBarPanel::foldersText() const { return folders_->text(); }

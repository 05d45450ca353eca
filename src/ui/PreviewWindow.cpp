#include "ui/PreviewWindow.h"

#include "settings/CommonFuncs.h"
#include "ui/icons/IconProvider.h"
#include "ui/UiTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
constexpr QSize kImageBox(560, 420);

QString dateText(const QDateTime& time)
{
    return time.isValid() ? QLocale().toString(time, QLocale::ShortFormat) : QStringLiteral("--");
}
} // namespace

PreviewWindow::PreviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool), pages_(new QStackedWidget(this)), image_(new QLabel),
      text_(new QPlainTextEdit), infoIcon_(new QLabel), infoText_(new QLabel), caption_(new QLabel(this))
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    image_->setAlignment(Qt::AlignCenter);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFont(QStringLiteral("monospace")));
    text_->setFocusPolicy(Qt::NoFocus); // keys stay with the window: Space closes it

    auto* info = new QWidget;
    auto* infoLayout = new QHBoxLayout(info);
    infoIcon_->setAlignment(Qt::AlignTop);
    infoText_->setTextFormat(Qt::PlainText);
    infoText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    infoLayout->addWidget(infoIcon_);
    infoLayout->addWidget(infoText_, 1);

    pages_->addWidget(image_);
    pages_->addWidget(text_);
    pages_->addWidget(info);
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setTextFormat(Qt::PlainText);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addWidget(caption_);
    resize(600, 480);
}

void PreviewWindow::showItem(const QString& path)
{
    path_ = path;
    const QFileInfo fileInfo(path);
    setWindowTitle(fileInfo.fileName().isEmpty() ? path : fileInfo.fileName());
    caption_->setText(fileInfo.fileName());
    if (!(fileInfo.isFile() && (showImage(path) || showText(path))))
        showInfo(path);
    show();
    raise();
    activateWindow();
    setFocus();
}

bool PreviewWindow::showImage(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return false;
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kImageBox.width() || size.height() > kImageBox.height()))
        reader.setScaledSize(size.scaled(kImageBox, Qt::KeepAspectRatio)); // decoded at the shown size
    const QImage picture = reader.read();
    if (picture.isNull())
        return false;
    image_->setPixmap(QPixmap::fromImage(picture));
    pages_->setCurrentIndex(0);
    mode_ = Mode::Image;
    return true;
}

bool PreviewWindow::showText(const QString& path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    if (!type.inherits(QStringLiteral("text/plain")))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    text_->setPlainText(QString::fromUtf8(file.read(kTextPreviewBytes)));
    pages_->setCurrentIndex(1);
    mode_ = Mode::Text;
    return true;
}

void PreviewWindow::showInfo(const QString& path)
{
    const QFileInfo info(path);
    const QMimeType type = info.isDir() ? QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory"))
                                        : QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    infoIcon_->setPixmap(IconProvider::shared().iconForPath(path, info.isDir()).pixmap(96, 96));
    const QStringList lines = {
        info.fileName(),
        QString(),
        uiText("ID_KIND") + QStringLiteral(": ") + type.comment(),
        uiText("ID_SIZE") + QStringLiteral(": ") + (info.isDir() ? QStringLiteral("--") : CommonFuncs::unitForSize(std::uint64_t(info.size()))),
        uiText("ID_CREATED") + QStringLiteral(": ") + dateText(info.birthTime()),
        uiText("ID_MODIFIED") + QStringLiteral(": ") + dateText(info.lastModified()),
        uiText("ID_ACCESSED") + QStringLiteral(": ") + dateText(info.lastRead()),
    };
    infoText_->setText(lines.join(u'\n'));
    pages_->setCurrentIndex(2);
    mode_ = Mode::Info;
}

void PreviewWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

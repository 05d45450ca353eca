#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QStackedWidget;

// A small window that previews one item: a picture scaled to fit, the start of a text file,
// or for anything else its icon, kind, size and dates. Space and Escape close it.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget* parent = nullptr);

    // Shows the item and brings the window to the front.
    void showItem(const QString& path);

    // What the window shows for the current item.
    enum class Mode { Image, Text, Info };
    Mode mode() const { return mode_; }
    QString shownPath() const { return path_; }
    // How much of a text file is shown at most.
    static constexpr qint64 kTextPreviewBytes = 64 * 1024;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool showImage(const QString& path);
    bool showText(const QString& path);
    void showInfo(const QString& path);

    QStackedWidget* pages_;
    QLabel* image_;
    QPlainTextEdit* text_;
    QLabel* infoIcon_;
    QLabel* infoText_;
    QLabel* caption_;
    Mode mode_ = Mode::Info;
    QString path_;
};

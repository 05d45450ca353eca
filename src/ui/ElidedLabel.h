#pragma once

#include <QLabel>

// A one-line label that shortens its text to fit, with the ellipsis where the mode says
// (the middle for paths, so both the start and the file name stay readable). The full text
// is the tooltip.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(Qt::TextElideMode mode = Qt::ElideMiddle, QWidget* parent = nullptr);

    void setFullText(const QString& text);
    QString fullText() const { return full_; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    Qt::TextElideMode mode_;
    QString full_;
};

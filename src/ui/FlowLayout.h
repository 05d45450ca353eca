#pragma once

#include <QLayout>
#include <QList>

// Lays its widgets out left to right at their preferred sizes and starts a new row where
// the next one does not fit, so a row of buttons wider than its window wraps instead of
// hiding some of them. Its height follows the width it is given (heightForWidth).
class FlowLayout : public QLayout {
public:
    // `spacing`: the gap between neighbours and between rows, in pixels.
    explicit FlowLayout(QWidget* parent = nullptr, int spacing = 2);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(items_.size()); }
    QLayoutItem* itemAt(int index) const override { return items_.value(index); }
    QLayoutItem* takeAt(int index) override;

    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    // Everything on one row.
    QSize sizeHint() const override;
    // The widest item: narrower than that nothing fits.
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items in `rect` (moves them only when `apply`); returns the height used,
    // margins included.
    int arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> items_;
    int gap_;
};

#pragma once

#include "reports/ReportTable.h"

#include <QAbstractItemModel>

#include <memory>
#include <vector>

class AppDelegate;

// The applications report as an outline: one top-level row per application beneath the
// selected folder, read from the controller's outline API; an application is never
// expanded (it counts as one item). Columns "itemName", "attributes" (empty) and "size".
//
// A header click sorts the controller's applications list through the report's table and
// becomes the applications' stored sort. Call reload() after the controller recomputed
// or re-sorted the list; the model keeps a copy of the top-level row list until then.
class AppsOutlineModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Role { NodeRole = Qt::UserRole + 3 };

    explicit AppsOutlineModel(AppDelegate& controller, QObject* parent = nullptr);
    ~AppsOutlineModel() override;

    void reload();
    TFoldInfo* nodeAt(const QModelIndex& index) const;
    // The table behind the sorting (for the header's indicator).
    const ReportTable& table() const { return *table_; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    AppDelegate& controller_;
    std::unique_ptr<ReportTable> table_;
    std::vector<TFoldInfo*> apps_;
};

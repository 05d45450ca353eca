#pragma once

#include <QAbstractTableModel>
#include <QStringList>

class FileViewerWindowController;

// The file viewer's table: a thin adapter over the viewer controller's shown list. Each
// column shows one field of the row's node, the first also the node's check box and icon.
// Sorting is the controller's (by the column's node field, numerically for numbers); the
// model only reloads when the controller says the list changed. The controller must
// outlive the model.
class FileViewerTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // True for a row whose node may not be deleted (its check box is drawn disabled).
    static constexpr int NonDeletableRole = Qt::UserRole + 1;

    explicit FileViewerTableModel(FileViewerWindowController& controller, QObject* parent = nullptr);

    // The column identifiers in display order ("name", "path", "type", "size", ...).
    static const QStringList& columnIdentifiers();
    // The column showing an identifier; -1 for none.
    static int columnOf(const QString& identifier);
    // The column whose node field is the sort key; -1 when no column sorts by it.
    static int columnForSortKey(const QString& key);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A check box click: hands the state to the controller.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // A header click: the controller sorts the shown list by the column's field. A column
    // without a field leaves the order as it is.
    void sort(int column, Qt::SortOrder order) override;

private:
    FileViewerWindowController& controller_;
};

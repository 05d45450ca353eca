#pragma once

#include <QWidget>

class AppDelegate;
class PieChartView;
class QLabel;
class QPushButton;
class ReportTableModel;
class ReportTableView;

// The overview report: the type groups of the selected folder (one row each, with its
// colour swatch from the chart palette), the file count, the ring chart of the groups'
// bytes, two links that fill the file list with the 100 biggest or the 100 oldest files,
// and the file list itself (all files, one group's files, or a top list).
//
// It follows the controller: load() after an overview visit, reloadFileList() when the
// controller changed the file list; selections and double-clicks go back to it.
class OverviewPanel : public QWidget {
    Q_OBJECT
public:
    explicit OverviewPanel(AppDelegate& controller, QWidget* parent = nullptr);
    ~OverviewPanel() override;

    // The overview rows were (re)computed: table, file count and chart.
    void load();
    // Only texts changed (display unit) or rows were recomputed in place.
    void reloadGroups();
    // The file list changed: rows, first column title and the controller's selected row.
    void reloadFileList();

    ReportTableView* groupView() const { return groupView_; }
    ReportTableView* fileView() const { return fileView_; }
    ReportTableModel* groupModel() const { return groupModel_; }
    ReportTableModel* fileModel() const { return fileModel_; }
    PieChartView* chart() const { return chart_; }
    QLabel* fileCountLabel() const { return fileCount_; }
    QPushButton* topBySizeButton() const { return topBySize_; }
    QPushButton* topOldestButton() const { return topOldest_; }

private:
    QWidget* makeGroupArea();
    QPushButton* makeLink(const QString& text);

    AppDelegate& controller_;
    ReportTableModel* groupModel_ = nullptr;
    ReportTableModel* fileModel_ = nullptr;
    ReportTableView* groupView_ = nullptr;
    ReportTableView* fileView_ = nullptr;
    PieChartView* chart_ = nullptr;
    QLabel* fileCount_ = nullptr;
    QPushButton* topBySize_ = nullptr;
    QPushButton* topOldest_ = nullptr;
    bool reloadingFiles_ = false;
};

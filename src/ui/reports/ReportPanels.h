#pragma once

#include <QWidget>

#include <array>

class AppDelegate;
class AppsOutlineModel;
class OverviewPanel;
class QLabel;
class QStackedWidget;
class QTreeView;
class ReportTableModel;
class ReportTableView;

// The report area of the main window: the twelve report panels in a stack (indexes as
// the report codes: 0 file explorer ... 10 overview, 11 obsolete files) and the hint text
// under them. It follows the controller by itself: a report shown brings its panel to
// the front with fresh rows, a table reload redraws, a new selected folder empties every
// list. Double-clicks and the report lists' context menus go back to the controller.
//
// The tab buttons are the main window's; they call the controller, which answers with the
// signals followed here.
class ReportPanels : public QWidget {
    Q_OBJECT
public:
    explicit ReportPanels(AppDelegate& controller, QWidget* parent = nullptr);
    ~ReportPanels() override;

    // Brings the panel of the report with that command-line name ("overview", "explorer",
    // "types", "attributes", "sizes", "dates", "times", "ownership", "custom", "folders",
    // "apps", "obsolete") to the front. The report's rows come from the controller: the
    // caller runs the report as its tab does (AppDelegate::reportButtonTapped), and the
    // panel fills when the controller shows it. False for an unknown name.
    bool showReportByName(const QString& name);
    // The report index of a name, or -1; and the name of an index (empty when unknown).
    static int reportIndexForName(const QString& name);
    static QString reportName(int index);

    // The index of the panel in front.
    int currentPanel() const;
    // The list view of a report (the overview: its file list; the applications: the
    // outline), for the main window's focus and for tests.
    QTreeView* viewForReport(int index) const;
    ReportTableModel* modelForReport(int index) const;
    AppsOutlineModel* appsModel() const { return appsModel_; }
    OverviewPanel* overview() const { return overview_; }
    QLabel* hintLabel() const { return hint_; }

    static constexpr int kReportCount = 12;

private:
    QWidget* makeTablePanel(int index);
    QWidget* makeAppsPanel();
    void reportShown(int index);
    void reloadReport(int index);
    void selectedFolderChanged();
    void rowActivated(int index, int row);
    void showContextMenu(int index, QTreeView* view, int row, const QPoint& globalPos);

    AppDelegate& controller_;
    QStackedWidget* stack_ = nullptr;
    QLabel* hint_ = nullptr;
    OverviewPanel* overview_ = nullptr;
    AppsOutlineModel* appsModel_ = nullptr;
    QTreeView* appsView_ = nullptr;
    std::array<ReportTableModel*, kReportCount> models_{};
    std::array<ReportTableView*, kReportCount> views_{};
};

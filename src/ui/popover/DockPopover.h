#pragma once

#include "app/DockViewController.h"

#include <QAbstractButton>
#include <QFrame>

#include <array>

class AppDelegate;
class BarChartView;
class DockTabButton;
class QLabel;
class QMenu;
class QTableWidget;
class QToolButton;

// The tray popover: a frameless popup summarising the main window's selected folder (the
// scanned path, the used space, a bar chart and a table of the main type groups, five tabs
// and the biggest files). Everything it shows comes from DockViewController; it reads the
// overview the controller computed and asks nothing of the disk.
class DockPopover : public QFrame {
    Q_OBJECT
public:
    // `scheduler` backs the short delay before the biggest files load; it and `controller`
    // must outlive the popover.
    DockPopover(AppDelegate& controller, Scheduler& scheduler, QWidget* parent = nullptr);

    DockViewController& model() { return model_; }
    // Feeds the model from the controller's current overview (or clears it when no folder
    // is selected) and redraws.
    void refreshFromController();
    // Opens the popover with its top edge at `anchor` (global), kept on the screen.
    void showAt(const QPoint& anchor);

    // The widgets, for tests and screenshots.
    BarChartView* barChart() const { return barChart_; }
    QTableWidget* groupTable() const { return groupTable_; }
    QTableWidget* detailTable() const { return detailTable_; }
    QLabel* scanPathLabel() const { return scanPath_; }
    QLabel* usedSpaceLabel() const { return usedSpace_; }
    DockTabButton* tabButton(int code) const;
    QMenu* settingsMenu() const { return settingsMenu_; }

Q_SIGNALS:
    void openAppRequested();
    void preferencesRequested();
    void helpRequested();
    void quitRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildHeader(class QVBoxLayout* layout);
    void buildTables(class QVBoxLayout* layout);
    void buildButtons(class QVBoxLayout* layout);
    // Redraws whatever the model changed: texts, a new chart, the tables, the tabs.
    void syncFromModel();
    void reloadGroupTable();
    void reloadDetailTable();
    void restyleTabs();

    AppDelegate& controller_;
    DockViewController model_;
    int shownChartGeneration_ = -1;
    QLabel* scanPath_ = nullptr;
    QLabel* usedSpace_ = nullptr;
    QWidget* chartBox_ = nullptr;
    BarChartView* barChart_ = nullptr;
    QTableWidget* groupTable_ = nullptr;
    QTableWidget* detailTable_ = nullptr;
    std::array<DockTabButton*, 5> tabs_{};
    QMenu* settingsMenu_ = nullptr;
};

// One of the popover's five tabs: a filled box with a title and a separator under it.
class DockTabButton : public QAbstractButton {
    Q_OBJECT
public:
    DockTabButton(const QString& title, int code, QWidget* parent = nullptr);
    int code() const { return code_; }
    void setSelectedLook(bool selected);
    bool isSelectedLook() const { return selected_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int code_;
    bool selected_ = false;
};

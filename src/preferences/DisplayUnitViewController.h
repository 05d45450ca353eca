#pragma once

#include "preferences/PreferencePaneView.h"

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The Display Unit pane: the units of the disk reports, the summary line and the folder
// tree, and the number of decimal places. Each change stores its key at once and tells the
// delegate its code (0 reports, 1 summary, 2 folder tree, 3 decimals, 4 reset), so the main
// window redraws at once.
class DisplayUnitViewController : public PreferencePaneView {
    Q_OBJECT
public:
    using Delegate = std::function<void(int code)>;
    explicit DisplayUnitViewController(Delegate delegate, QWidget* parent = nullptr);

    int paneIndex() const override { return 0; }
    QSize paneSize() const override { return {480, 230}; }
    // Shows the stored values and the current texts (every time the pane appears).
    void viewWillAppear() override;
    bool commitEditing() override;

    QComboBox* allDiskReports() const { return popUpBtnAllDiskReports_; }
    QComboBox* diskReportSummary() const { return popUpBtnDiskReportSummary_; }
    QComboBox* folderTree() const { return popUpBtnFolderTree_; }
    QSpinBox* decimalPlaces() const { return stprDecimalPlaces_; }
    QPushButton* resetButton() const { return btnResetDefault_; }

private:
    void convertUIAccordingToLocale();
    void showStoredValues();
    void unitChosen(int code, int index);
    void stprDecimalPlacesTapped(int places);
    void btnResetDefaultTapped();
    void tellDelegate(int code);

    Delegate delegate_;
    QLabel* lblAllDiskReports_ = nullptr;
    QLabel* lblDiskReportSummary_ = nullptr;
    QLabel* lblFolderTree_ = nullptr;
    QLabel* lblDecimalPlaces_ = nullptr;
    QComboBox* popUpBtnAllDiskReports_ = nullptr;
    QComboBox* popUpBtnDiskReportSummary_ = nullptr;
    QComboBox* popUpBtnFolderTree_ = nullptr;
    QSpinBox* stprDecimalPlaces_ = nullptr;
    QPushButton* btnResetDefault_ = nullptr;
};

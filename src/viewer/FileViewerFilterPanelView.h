#pragma once

#include <QWidget>

class FileViewerWindowController;
class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

// The file viewer's filter panel: the file-name field, the size condition (any size, a
// range with its unit, or an operator with a value and its unit), the date type with the
// from/to days, the top-N choice, and apply and reset. Every control hands its value to the
// controller as it changes (the controller writes it to the settings); the panel shows what
// the settings hold again whenever the controller says the panel changed as a whole.
class FileViewerFilterPanelView : public QWidget {
    Q_OBJECT
public:
    explicit FileViewerFilterPanelView(FileViewerWindowController& controller, QWidget* parent = nullptr);

    // The controls, for the window's tab order and for tests.
    QLineEdit* fileNameField() const { return txtFieldFileName_; }
    QLineEdit* sizeFromField() const { return txtFieldFileSizeFrom_; }
    QLineEdit* sizeToField() const { return txtFieldFileSizeTo_; }
    QLineEdit* sizeCompareField() const { return txtFieldFileSizeCompare_; }
    QButtonGroup* sizeTypeGroup() const { return matrixRadioButton_; }
    QComboBox* sizeUnitForRange() const { return popUpBtnSizeUnitForFilter_; }
    QComboBox* comparisionOperator() const { return popUpBtnComparisionOperator_; }
    QComboBox* sizeUnitForComparision() const { return popUpBtnSizeUnitForComparision_; }
    QComboBox* dateType() const { return popUpBtnDateType_; }
    QDateEdit* dateFrom() const { return dpFilterDateFrom_; }
    QDateEdit* dateTo() const { return dpFilterDateTo_; }
    QComboBox* topFilesCount() const { return popUpBtnTopFilesCount_; }
    QPushButton* applyButton() const { return btnApplyFilter_; }
    QPushButton* resetButton() const { return btnRemoveFilter_; }

    // Closes an open calendar pop-up of the date fields.
    void hideDatePickers();

private:
    QWidget* makeNameBox();
    QWidget* makeSizeBox();
    QWidget* makeDateBox();
    QWidget* makeTopBox();
    void connectControls();
    void connectSizeField(QLineEdit* field, int which);
    // Shows the values the settings hold (set-up, reset, a picked day).
    void showStoredValues();
    void setDateFieldsEnabled(bool enabled);

    FileViewerWindowController& controller_;
    QLineEdit* txtFieldFileName_ = nullptr;
    QButtonGroup* matrixRadioButton_ = nullptr;
    QLineEdit* txtFieldFileSizeFrom_ = nullptr;
    QLineEdit* txtFieldFileSizeTo_ = nullptr;
    QComboBox* popUpBtnSizeUnitForFilter_ = nullptr;
    QComboBox* popUpBtnComparisionOperator_ = nullptr;
    QLineEdit* txtFieldFileSizeCompare_ = nullptr;
    QComboBox* popUpBtnSizeUnitForComparision_ = nullptr;
    QComboBox* popUpBtnDateType_ = nullptr;
    QDateEdit* dpFilterDateFrom_ = nullptr;
    QDateEdit* dpFilterDateTo_ = nullptr;
    QComboBox* popUpBtnTopFilesCount_ = nullptr;
    QPushButton* btnApplyFilter_ = nullptr;
    QPushButton* btnRemoveFilter_ = nullptr;
};

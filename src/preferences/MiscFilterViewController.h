#pragma once

#include "preferences/PreferencePaneView.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The Misc. Filter pane: the big-files threshold, the old-files limit and which time it
// reads, whether the folder tree shows empty folders, and the two scan options. Each
// control stores its key at once and raises the misc-changed flag; the main window applies
// the change when it becomes active again. The scan options need no flag: the next scan
// reads them.
class MiscFilterViewController : public PreferencePaneView {
    Q_OBJECT
public:
    explicit MiscFilterViewController(QWidget* parent = nullptr);

    int paneIndex() const override { return 3; }
    QSize paneSize() const override { return {580, 420}; }
    bool commitEditing() override;

    QSpinBox* bigFilesSize() const { return stprBiggerFiles_; }
    QComboBox* bigFilesUnit() const { return popUpBtnBiggerFiles_; }
    QSpinBox* oldFilesLimit() const { return stprOldFiles_; }
    QComboBox* oldFilesAccessedModified() const { return popUpBtnOldFileAccMod_; }
    QComboBox* oldFilesTimeUnit() const { return popUpBtnTimeUnit_; }
    QCheckBox* showEmptyFolders() const { return btnShowEmptyFolder_; }
    QCheckBox* scanHiddenFolders() const { return btnScanHiddenFolders_; }
    QCheckBox* stayOnOneFileSystem() const { return btnStayOnOneFileSystem_; }
    QPushButton* resetButton() const { return btnResetDefault_; }

private:
    QWidget* makeBigFilesBox();
    QWidget* makeOldFilesBox();
    QWidget* makeScanBox();
    void showStoredValues();
    void store(QLatin1String key, const QVariant& value);
    void btnResetDefaultTapped();

    QSpinBox* stprBiggerFiles_ = nullptr;
    QComboBox* popUpBtnBiggerFiles_ = nullptr;
    QSpinBox* stprOldFiles_ = nullptr;
    QComboBox* popUpBtnOldFileAccMod_ = nullptr;
    QComboBox* popUpBtnTimeUnit_ = nullptr;
    QCheckBox* btnShowEmptyFolder_ = nullptr;
    QCheckBox* btnScanHiddenFolders_ = nullptr;
    QCheckBox* btnStayOnOneFileSystem_ = nullptr;
    QPushButton* btnResetDefault_ = nullptr;
};

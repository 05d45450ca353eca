#include "ui/ProgressSheet.h"

#include "app/AppDelegate.h"
#include "app/ProgressWindowController.h"
#include "ui/ElidedLabel.h"
#include "ui/UiTexts.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Places a sheet at the top centre of its window, as sheets drop from the title bar.
void placeAsSheet(QDialog* sheet)
{
    QWidget* window = sheet->parentWidget() ? sheet->parentWidget()->window() : nullptr;
    if (!window)
        return;
    const QRect frame = window->geometry();
    sheet->adjustSize();
    sheet->move(frame.x() + (frame.width() - sheet->width()) / 2, frame.y() + 40);
}
} // namespace

ProgressSheet::ProgressSheet(AppDelegate& app, QWidget* parent)
    : QDialog(parent, Qt::Sheet | Qt::Dialog), app_(app), pleaseWait_(new QLabel), path_(new ElidedLabel),
      summary_(new QLabel), busy_(new QProgressBar), bar_(new QProgressBar), cancel_(new QPushButton(uiText("ID_CANCEL")))
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(QCoreApplication::applicationName());
    setObjectName(QStringLiteral("progressSheet"));
    busy_->setRange(0, 0); // an indeterminate bar is Qt's spinner
    busy_->setTextVisible(false);
    busy_->setMaximumHeight(8);
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    QFont bold = pleaseWait_->font();
    bold.setBold(true);
    pleaseWait_->setFont(bold);
    summary_->setTextFormat(Qt::PlainText);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->addWidget(pleaseWait_);
    layout->addWidget(busy_);
    layout->addSpacing(6);
    layout->addWidget(path_);
    layout->addWidget(summary_);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
    setFixedWidth(520);

    refreshTimer_.setSingleShot(true);
    refreshTimer_.setInterval(50);
    connect(&refreshTimer_, &QTimer::timeout, this, &ProgressSheet::refresh);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (controller_)
            controller_->abortScanning();
        cancel_->setEnabled(false); // the scan stops at its next check and hands over
    });
}

void ProgressSheet::showFor(ProgressWindowController* controller)
{
    controller_ = controller;
    if (controller_) {
        pleaseWait_->setText(controller_->pleaseWaitText());
        connect(controller_, &ProgressWindowController::changed, this, [this] {
            if (!refreshTimer_.isActive())
                refreshTimer_.start();
        });
    }
    cancel_->setEnabled(true);
    refresh();
    placeAsSheet(this);
    show();
    raise();
}

void ProgressSheet::dismiss()
{
    if (controller_)
        disconnect(controller_, nullptr, this, nullptr);
    controller_ = nullptr;
    refreshTimer_.stop();
    hide();
}

void ProgressSheet::refresh()
{
    if (!controller_) {
        path_->setFullText(QString());
        summary_->clear();
        bar_->setValue(0);
        return;
    }
    path_->setFullText(controller_->scanDetail());
    summary_->setText(controller_->scanSummary());
    bar_->setValue(int(controller_->progressBarValue()));
}

QString ProgressSheet::pathText() const { return path_->fullText(); }
QString ProgressSheet::summaryText() const { return summary_->text(); }
int ProgressSheet::barValue() const { return bar_->value(); }

void ProgressSheet::reject()
{
    if (cancel_->isEnabled())
        cancel_->click();
}

ReportWaitingPanel::ReportWaitingPanel(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowModality(Qt::WindowModal);
    setObjectName(QStringLiteral("reportWaitingPanel"));
    auto* busy = new QProgressBar;
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    auto* label = new QLabel(uiText("ID_PREPARING_REPORT"));
    label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(label);
    layout->addWidget(busy);
    setFixedWidth(280);
}

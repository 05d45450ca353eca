#include "UiFixture.h"

#include "ui/ProgressSheet.h"

bool UiFixture::reportPending() const
{
    ReportWaitingPanel* panel = desktop_->window().reportWaitingPanel();
    return panel && panel->isVisible();
}

void UiFixture::clickWhenShown(const QString& buttonText, int triesLeft)
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
        if (triesLeft > 0)
            QTimer::singleShot(20, qApp, [this, buttonText, triesLeft] { clickWhenShown(buttonText, triesLeft - 1); });
        return;
    }
    lastMessage_ = box->text();
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == buttonText) {
            ++messageBoxesAnswered_;
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << buttonText.toStdString() << " in the message box " << box->text().toStdString();
    box->reject();
}

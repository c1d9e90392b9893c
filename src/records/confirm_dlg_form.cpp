#include "records/confirm_dlg_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/dialog_util.h"

namespace kestrova {

QBoxLayout* NewMessageRow(QDialog* owner, QStyle::StandardPixmap icon, const QString& text,
                          QLabel** messageLabel) {
    auto* row = new QHBoxLayout;
    auto* iconLabel = new QLabel(owner);
    int size = owner->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, owner);
    iconLabel->setPixmap(owner->style()->standardIcon(icon, nullptr, owner).pixmap(size, size));
    iconLabel->setAlignment(Qt::AlignTop);
    auto* message = new QLabel(text, owner);
    message->setFont(QApplication::font("QMessageBox"));
    message->setAlignment(Qt::AlignCenter);
    message->setWordWrap(true);
    message->setTextFormat(Qt::PlainText);
    message->setMinimumWidth(260);
    row->addWidget(iconLabel);
    row->addWidget(message, 1);
    *messageLabel = message;
    return row;
}

TConfirmDlgForm::TConfirmDlgForm(const QString& text, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Confirmation");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(NewMessageRow(this, QStyle::SP_MessageBoxQuestion, text, &MessageLabel));
    auto* buttons = new QHBoxLayout;
    DontAskBox = new QCheckBox("Don't ask me again", this);
    YesButton = new QPushButton("&Yes", this);
    NoButton = new QPushButton("&No", this);
    YesButton->setDefault(true);
    buttons->addWidget(DontAskBox);
    buttons->addStretch(1);
    buttons->addWidget(YesButton);
    buttons->addWidget(NoButton);
    layout->addLayout(buttons);
    connect(YesButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(NoButton, &QPushButton::clicked, this, &QDialog::reject);
    YesButton->setFocus();
}

void TConfirmDlgForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    CenterOnScreen(this);
    KeepInsideWorkArea(this);
}

TConfirmAnswer RunConfirmDlg(const std::string& text, QWidget* parent) {
    TConfirmDlgForm form(ToQ(text), parent);
    bool yes = form.exec() == QDialog::Accepted;
    return {yes, form.DontAskBox->isChecked()};
}

}  // namespace kestrova

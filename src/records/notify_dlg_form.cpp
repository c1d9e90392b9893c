#include "records/notify_dlg_form.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "records/confirm_dlg_form.h"
#include "kit/dialog_util.h"

namespace kestrova {

TNotifyDlgForm::TNotifyDlgForm(const QString& text, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Information");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(NewMessageRow(this, QStyle::SP_MessageBoxInformation, text, &MessageLabel));
    auto* buttons = new QHBoxLayout;
    DontTellBox = new QCheckBox("Don't tell me again", this);
    OkButton = new QPushButton("OK", this);
    OkButton->setDefault(true);
    buttons->addWidget(DontTellBox);
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    layout->addLayout(buttons);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    OkButton->setFocus();
}

void TNotifyDlgForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    CenterOnScreen(this);
    KeepInsideWorkArea(this);
}

bool RunNotifyDlg(const std::string& text, QWidget* parent) {
    TNotifyDlgForm form(ToQ(text), parent);
    form.exec();
    // The notice has been read however it was closed; only the box matters.
    return form.DontTellBox->isChecked();
}

}  // namespace kestrova

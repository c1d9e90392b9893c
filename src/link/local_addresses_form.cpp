#include "link/local_addresses_form.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/dialog_util.h"

namespace kestrova {

TLocalAddressesForm::TLocalAddressesForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Local IP Addresses");
    auto* layout = new QVBoxLayout(this);
    List = new QListWidget(this);
    layout->addWidget(List);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    OkButton = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

void TLocalAddressesForm::SetAddresses(const std::vector<std::string>& addresses) {
    List->clear();
    for (const auto& a : addresses)
        List->addItem(ToQ(a));
}

void TLocalAddressesForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

}  // namespace kestrova

#pragma once
// "Local IP Addresses": the machine's addresses, one a row.
#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace kestrova {

class TLocalAddressesForm : public QDialog {
    Q_OBJECT
  public:
    explicit TLocalAddressesForm(QWidget* parent = nullptr);
    // Empties the list and fills it again.
    void SetAddresses(const std::vector<std::string>& addresses);

    QListWidget* List = nullptr;
    QPushButton* OkButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;
};

}  // namespace kestrova

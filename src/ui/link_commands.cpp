#include "ui/link_commands.h"

#include <QAction>
#include <QMenu>

#include "link/local_addresses_form.h"

namespace kestrova {

TLinkCommands::TLinkCommands(TLinkActions actions, IDialogs& dialogs, QWidget* window, int port)
    : QObject(window),
      actions_(actions),
      window_(window),
      link_(sockets_, dialogs, [this] { return Lookup ? Lookup() : std::nullopt; }, port) {
    sockets_.SetLink(&link_);
    ShowAddresses = [this](const std::vector<std::string>& addresses) {
        TLocalAddressesForm form(window_);
        form.SetAddresses(addresses);
        form.exec();
    };
    actions_.Allow->setCheckable(true);
    // The menu is put right after every command: a click on the checkable
    // item toggles its mark by itself even when the link did not open.
    auto command = [this](QAction* a, void (TCoHostLink::*op)()) {
        connect(a, &QAction::triggered, this, [this, op] {
            (link_.*op)();
            ApplyMenu();
        });
    };
    command(actions_.Allow, &TCoHostLink::AllowHost);
    command(actions_.Connect, &TCoHostLink::ConnectHost);
    command(actions_.Disconnect, &TCoHostLink::Disconnect);
    connect(actions_.WhatsMyIp, &QAction::triggered, this, [this] {
        if (auto addresses = link_.WhatsMyIp()) ShowAddresses(*addresses);
    });
    actions_.WhatsMyIp->setEnabled(true);
    link_.MenuChanged = [this] { ApplyMenu(); };
    ApplyMenu();
}

void TLinkCommands::ApplyMenu() {
    const TLinkMenu& m = link_.Menu();
    // A check mark set by the click itself is put right by the link's state.
    actions_.Allow->setChecked(m.AllowChecked);
    actions_.Allow->setEnabled(m.AllowEnabled);
    actions_.Connect->setEnabled(m.ConnectEnabled);
    actions_.Disconnect->setEnabled(m.DisconnectEnabled);
    emit menuChanged();
}

}  // namespace kestrova

#include "ui/kestrova_form.h"

namespace kestrova {

void TKestrovaForm::ConnectLink() {
    TMainMenus& m = *menus_;
    IDialogs& dialogs = ports_.Dialogs ? *ports_.Dialogs : fallbackDialogs_;
    link_ = new TLinkCommands({m.InternetLink, m.LinkAllow, m.LinkConnect, m.LinkDisconnect,
                               m.LinkWhatsMyIp},
                              dialogs, this);
}

void TKestrovaForm::ShowLinkMenu(bool on) {
    menus_->InternetLink->menuAction()->setVisible(on);
}

}  // namespace kestrova

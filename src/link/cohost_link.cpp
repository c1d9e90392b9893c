#include "link/cohost_link.h"

#include "link/link_errors.h"

namespace kestrova {

TCoHostLink::TCoHostLink(ILinkSockets& sockets, IDialogs& dialogs, TLocalHostLookup lookup,
                         int port)
    : sockets_(sockets), dialogs_(dialogs), lookup_(std::move(lookup)), port_(port) {}

std::string LocalAddressText(const std::vector<std::string>& addresses) {
    std::string text = "Local Address = ";
    for (size_t i = 0; i < addresses.size(); ++i)
        text += (i ? ", " : "") + addresses[i];
    return text;
}

void TCoHostLink::AllowHost() {
    std::optional<TLocalHost> local = lookup_ ? lookup_() : std::nullopt;
    if (!local) {
        dialogs_.MessageBox(TMessageBoxKind::Warning,
                            "It appears you do not have an Internet connection");
        return;
    }
    if (!sockets_.Listening()) {
        // A port another program holds is told like a failed connection;
        // the item stays unchecked and no address is offered.
        if (int code = sockets_.Listen(port_); code != 0) {
            dialogs_.MessageBox(TMessageBoxKind::Error, SocketErrorMessage(local->Name, code));
            return;
        }
    }
    TLinkMenu menu = menu_;
    menu.AllowChecked = true;
    SetMenu(menu);
    if (!local->Addresses.empty())
        dialogs_.MessageBox(TMessageBoxKind::Information, LocalAddressText(local->Addresses));
}

void TCoHostLink::ConnectHost() {
    std::optional<std::string> host =
        dialogs_.InputBox("Enter Computer to Connect to", "Address Name:", "");
    if (!host || host->empty()) return;
    host_ = *host;
    // A new target replaces an attempt still under way.
    if (sockets_.ClientOpen()) sockets_.CloseClient();
    sockets_.Connect(host_, port_);
}

void TCoHostLink::Disconnect() {
    if (sockets_.Listening()) sockets_.CloseServer();
    if (sockets_.ClientOpen()) sockets_.CloseClient();
    SetIdle(false);
}

std::optional<std::vector<std::string>> TCoHostLink::WhatsMyIp() const {
    std::optional<TLocalHost> local = lookup_ ? lookup_() : std::nullopt;
    if (!local) return std::nullopt;
    return local->Addresses;
}

void TCoHostLink::Connected() {
    TLinkMenu menu = menu_;
    menu.DisconnectEnabled = true;
    menu.AllowEnabled = false;
    menu.ConnectEnabled = false;
    SetMenu(menu);
}

void TCoHostLink::ClientDisconnected() {
    SetIdle(sockets_.Listening());
}

void TCoHostLink::ClientError(int code) {
    // Shown once and swallowed; a socket that failed is closed, so the
    // link is ready for the next attempt.
    if (sockets_.ClientOpen()) sockets_.CloseClient();
    dialogs_.MessageBox(TMessageBoxKind::Error, SocketErrorMessage(host_, code));
    SetIdle(sockets_.Listening());
}

void TCoHostLink::SetIdle(bool listening) {
    TLinkMenu menu;
    menu.AllowChecked = listening;
    SetMenu(menu);
}

void TCoHostLink::SetMenu(const TLinkMenu& menu) {
    // Told even when nothing changed: every command and socket event ends here.
    menu_ = menu;
    if (MenuChanged) MenuChanged();
}

}  // namespace kestrova

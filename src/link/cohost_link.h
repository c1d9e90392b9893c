#pragma once
// The co-host link: one copy of the program listens, another connects to it
// by name or address. Only the connection is managed; nothing travels over
// it. This is the link's logic (what each command and socket event does to
// the sockets, the menu and the host's boxes); the sockets themselves are a
// port, so every path runs in tests without a network.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/ports.h"

namespace kestrova {

constexpr int CoHostLinkPort = 11179;

// The two sockets of the link.
class ILinkSockets {
  public:
    virtual ~ILinkSockets() = default;
    // Opens the listening socket; 0, or the code of the failure.
    virtual int Listen(int port) = 0;
    virtual bool Listening() const = 0;
    // Closes the listening socket and whoever connected to it.
    virtual void CloseServer() = 0;
    // Starts connecting the client socket; the outcome arrives as an event.
    virtual void Connect(const std::string& host, int port) = 0;
    virtual bool ClientOpen() const = 0;
    virtual void CloseClient() = 0;
};

// The machine's name and its IPv4 addresses as dotted quads, in the order the
// lookup gave them; nothing when the name cannot be looked up.
struct TLocalHost {
    std::string Name;
    std::vector<std::string> Addresses;
};
using TLocalHostLookup = std::function<std::optional<TLocalHost>()>;

// The items of the "&Intenet link" submenu.
struct TLinkMenu {
    bool AllowChecked = false;
    bool AllowEnabled = true;
    bool ConnectEnabled = true;
    bool DisconnectEnabled = false;
    bool operator==(const TLinkMenu&) const = default;
};

class TCoHostLink {
  public:
    TCoHostLink(ILinkSockets& sockets, IDialogs& dialogs, TLocalHostLookup lookup,
                int port = CoHostLinkPort);

    // Menu commands.
    void AllowHost();    // "Allow a host to connect"
    void ConnectHost();  // "Connect to another host"
    void Disconnect();   // "Disconnect"
    // "&What's my IP address?": the addresses for the "Local IP Addresses"
    // dialog, or nothing (no dialog) when the lookup fails.
    std::optional<std::vector<std::string>> WhatsMyIp() const;

    // Socket events.
    void Connected();           // a peer reached the listening socket, or the client connected
    void ClientDisconnected();  // the client socket closed
    void ClientError(int code);

    const TLinkMenu& Menu() const { return menu_; }
    const std::string& Host() const { return host_; }
    int Port() const { return port_; }
    // Told after every command and socket event that sets the menu.
    std::function<void()> MenuChanged;

  private:
    void SetMenu(const TLinkMenu& menu);
    void SetIdle(bool listening);

    ILinkSockets& sockets_;
    IDialogs& dialogs_;
    TLocalHostLookup lookup_;
    int port_;
    std::string host_;  // as the host typed it
    TLinkMenu menu_;
};

// "Local Address = " and the addresses joined by ", ".
std::string LocalAddressText(const std::vector<std::string>& addresses);

}  // namespace kestrova

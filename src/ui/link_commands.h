#pragma once
// The "&Intenet link" submenu wired to the co-host link: its four items, the
// sockets and the "Local IP Addresses" dialog.
#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "link/cohost_link.h"
#include "link/link_socket.h"

class QAction;
class QMenu;
class QWidget;

namespace kestrova {

struct TLinkActions {
    QMenu* Menu = nullptr;
    QAction *Allow = nullptr, *Connect = nullptr, *Disconnect = nullptr, *WhatsMyIp = nullptr;
};

class TLinkCommands : public QObject {
    Q_OBJECT
  public:
    // `dialogs` must outlive the commands. `port` is the link's port (tests
    // pass 0 to listen wherever the system puts them).
    TLinkCommands(TLinkActions actions, IDialogs& dialogs, QWidget* window,
                  int port = CoHostLinkPort);

    TCoHostLink& Link() { return link_; }
    TQtLinkSockets& Sockets() { return sockets_; }
    // The local host lookup; replaceable by tests.
    TLocalHostLookup Lookup = LookUpLocalHost;
    // Shows the "Local IP Addresses" dialog; replaceable by tests.
    std::function<void(const std::vector<std::string>&)> ShowAddresses;

  signals:
    // The submenu's items were set from the link's state.
    void menuChanged();

  private:
    void ApplyMenu();

    TLinkActions actions_;
    QWidget* window_;
    TQtLinkSockets sockets_;
    TCoHostLink link_;
};

}  // namespace kestrova

#pragma once
// The co-host link's sockets on Qt Network: the listening socket, the peers
// it accepted, and the client socket. Their events go to the link's logic
// (TCoHostLink) on the user-interface thread.
#include <QAbstractSocket>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <optional>
#include <vector>

#include "link/cohost_link.h"

namespace kestrova {

// The Winsock code of a Qt socket error; 0 for the peer closing the
// connection, which is a disconnect rather than an error.
int WinsockCodeOf(QAbstractSocket::SocketError error);

// The machine's name and IPv4 addresses (QHostInfo).
std::optional<TLocalHost> LookUpLocalHost();

class TQtLinkSockets : public QObject, public ILinkSockets {
    Q_OBJECT
  public:
    explicit TQtLinkSockets(QObject* parent = nullptr);
    ~TQtLinkSockets() override;
    // The logic the events go to; set once, before any socket opens.
    void SetLink(TCoHostLink* link) { link_ = link; }

    int Listen(int port) override;
    bool Listening() const override { return server_.isListening(); }
    void CloseServer() override;
    void Connect(const std::string& host, int port) override;
    bool ClientOpen() const override { return client_ != nullptr; }
    void CloseClient() override;

    // The port the listening socket holds (a test may listen on port 0).
    int ServerPort() const { return server_.serverPort(); }
    int PeerCount() const;
    QTcpSocket* Client() const { return client_; }

  private:
    void Accept();
    void DropClient();

    TCoHostLink* link_ = nullptr;
    QTcpServer server_;
    std::vector<QPointer<QTcpSocket>> peers_;
    QTcpSocket* client_ = nullptr;
};

}  // namespace kestrova

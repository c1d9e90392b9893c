#include "link/link_socket.h"

#include <QHostAddress>
#include <algorithm>
#include <QHostInfo>
#include <QNetworkProxy>

#include "kit/dialog_util.h"
#include "link/link_errors.h"

namespace kestrova {

// Qt's socket errors onto the Winsock codes whose texts the host sees. The
// table is the only place that knows both numberings.
int WinsockCodeOf(QAbstractSocket::SocketError error) {
    using E = QAbstractSocket::SocketError;
    switch (error) {
        case E::ConnectionRefusedError: return wsa::ConnectionRefused;          // 10061
        case E::RemoteHostClosedError: return 0;  // a close, or a reset Qt reads as one
        case E::HostNotFoundError: return wsa::HostNotFound;                    // 11001
        case E::SocketAccessError: return wsa::Access;                          // 10013
        case E::SocketResourceError: return wsa::TooManyFiles;                  // 10024
        case E::SocketTimeoutError: return wsa::TimedOut;                       // 10060
        case E::DatagramTooLargeError: return wsa::MessageSize;                 // 10040
        case E::NetworkError: return wsa::NetworkUnreachable;                   // 10051
        case E::AddressInUseError: return wsa::AddressInUse;                    // 10048
        case E::SocketAddressNotAvailableError: return wsa::AddressNotAvailable;  // 10049
        case E::UnsupportedSocketOperationError: return wsa::AddressFamily;     // 10047
        case E::UnfinishedSocketOperationError: return wsa::InProgress;         // 10036
        case E::TemporaryError: return wsa::WouldBlock;                         // 10035
        case E::OperationError: return wsa::NetworkDown;                        // 10050
        case E::ProxyConnectionRefusedError: return wsa::ConnectionRefused;     // 10061
        case E::ProxyConnectionClosedError: return wsa::ConnectionAborted;      // 10053
        case E::ProxyConnectionTimeoutError: return wsa::TimedOut;              // 10060
        case E::ProxyNotFoundError: return wsa::HostNotFound;                   // 11001
        // No Winsock counterpart (proxies are switched off, there is no
        // TLS): shown as "Unknown error." with Qt's own number.
        case E::ProxyAuthenticationRequiredError:
        case E::ProxyProtocolError:
        case E::SslHandshakeFailedError:
        case E::SslInternalError:
        case E::SslInvalidUserDataError:
        case E::UnknownSocketError: break;
    }
    return static_cast<int>(error);
}

std::optional<TLocalHost> LookUpLocalHost() {
    TLocalHost local;
    const QString name = QHostInfo::localHostName();
    if (name.isEmpty()) return std::nullopt;
    const QHostInfo info = QHostInfo::fromName(name);
    if (info.error() != QHostInfo::NoError) return std::nullopt;
    local.Name = FromQ(name);
    for (const QHostAddress& a : info.addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol) local.Addresses.push_back(FromQ(a.toString()));
    return local;
}

TQtLinkSockets::TQtLinkSockets(QObject* parent) : QObject(parent) {
    server_.setProxy(QNetworkProxy::NoProxy);
    connect(&server_, &QTcpServer::newConnection, this, [this] { Accept(); });
}

TQtLinkSockets::~TQtLinkSockets() {
    link_ = nullptr;
    CloseClient();
    CloseServer();
}

int TQtLinkSockets::Listen(int port) {
    if (server_.listen(QHostAddress::AnyIPv4, static_cast<quint16>(port))) return 0;
    return WinsockCodeOf(server_.serverError());
}

void TQtLinkSockets::CloseServer() {
    server_.close();
    // The peers it accepted go with it.
    for (auto& peer : peers_) {
        if (!peer) continue;
        peer->disconnect(this);
        peer->abort();
        delete peer.data();
    }
    peers_.clear();
}

int TQtLinkSockets::PeerCount() const {
    return static_cast<int>(std::count_if(peers_.begin(), peers_.end(),
                                          [](const QPointer<QTcpSocket>& p) { return !p.isNull(); }));
}

void TQtLinkSockets::Accept() {
    while (QTcpSocket* peer = server_.nextPendingConnection()) {
        // Nothing is read; a peer that leaves is forgotten without a word.
        peer->setParent(this);
        connect(peer, &QTcpSocket::disconnected, peer, &QObject::deleteLater);
        peers_.erase(std::remove_if(peers_.begin(), peers_.end(),
                                    [](const QPointer<QTcpSocket>& p) { return p.isNull(); }),
                     peers_.end());
        peers_.emplace_back(peer);
        if (link_) link_->Connected();
    }
}

void TQtLinkSockets::Connect(const std::string& host, int port) {
    CloseClient();
    client_ = new QTcpSocket(this);
    client_->setProxy(QNetworkProxy::NoProxy);
    connect(client_, &QTcpSocket::connected, this, [this] {
        if (link_) link_->Connected();
    });
    connect(client_, &QTcpSocket::disconnected, this, [this] {
        DropClient();
        if (link_) link_->ClientDisconnected();
    });
    connect(client_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        const int code = WinsockCodeOf(e);
        // A peer that closes also says "disconnected", which is all it means.
        if (code == 0) return;
        DropClient();
        if (link_) link_->ClientError(code);
    });
    client_->connectToHost(ToQ(host), static_cast<quint16>(port));
}

void TQtLinkSockets::CloseClient() {
    if (!client_) return;
    client_->disconnect(this);
    client_->abort();
    DropClient();
}

void TQtLinkSockets::DropClient() {
    if (!client_) return;
    QTcpSocket* old = client_;
    client_ = nullptr;
    old->disconnect(this);
    // Its own signal may be what brought us here.
    old->deleteLater();
}

}  // namespace kestrova

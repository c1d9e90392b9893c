// The co-host link over real loopback sockets, in-process: one copy listens,
// another connects. Every wait is on a signal or a check, with a timeout.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QListWidget>
#include <QMenu>
#include <QMetaEnum>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <filesystem>
#include <memory>

#include "fakes/fake_ports.h"
#include "link/link_errors.h"
#include "link/local_addresses_form.h"
#include "lobby/script_steps.h"
#include "ui/link_commands.h"
#include "ui/modal_helper.h"

namespace kestrova {
namespace {

constexpr int kWait = 5000;

// A port nobody listens on right now.
int FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

int OpenDescriptors() {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

// One copy of the program's link: its submenu and the host's boxes.
struct Copy {
    QWidget window;
    QMenu menu;
    testing::FakeDialogs dialogs;
    std::unique_ptr<TLinkCommands> commands;
    QAction *allow, *connect, *disconnect, *ip;
    explicit Copy(int port) {
        allow = menu.addAction("Allow a host to connect");
        connect = menu.addAction("Connect to another host");
        disconnect = menu.addAction("Disconnect");
        ip = menu.addAction("&What's my IP address?");
        commands = std::make_unique<TLinkCommands>(
            TLinkActions{&menu, allow, connect, disconnect, ip}, dialogs, &window, port);
        commands->Lookup = [] { return TLocalHost{"desk", {"127.0.0.1", "192.168.7.9"}}; };
    }
    // "x" checked, then a/c/d for the enabled items.
    std::string Menu() const {
        std::string s;
        s += allow->isChecked() ? 'x' : '-';
        s += allow->isEnabled() ? 'a' : '-';
        s += connect->isEnabled() ? 'c' : '-';
        s += disconnect->isEnabled() ? 'd' : '-';
        return s;
    }
    void ConnectTo(const std::string& host) {
        dialogs.Inputs = {host};
        connect->trigger();
    }
};

// Copies of the link and other programs' sockets played from
// tests/data/link/sockets.txt: "COPY STEP" drives the copy of that name
// (made on first use), "... becomes" waits, with a bound, for a check to
// read its value.
struct SocketScript {
    int port = FreePort();
    std::map<std::string, std::unique_ptr<Copy>> copies;
    QTcpServer holder, rude;

    void SetUp() {}
    void TearDown() {}
    std::string Check(Copy& c, const std::string& what) {
        TQtLinkSockets& sockets = c.commands->Sockets();
        if (what == "menu") return c.Menu();
        if (what == "messages") return testing::Joined(c.dialogs.Messages);
        if (what == "peer count") return std::to_string(sockets.PeerCount());
        if (what == "listening") return testing::YesNo(sockets.Listening());
        if (what == "client") return sockets.ClientOpen() ? "open" : "closed";
        if (what == "port") return sockets.ServerPort() == port ? "the link's" : "another";
        return "no check " + what;
    }
    void Step(const std::string& key, const std::string& v) {
        if (key == "rude server") {
            ASSERT_TRUE(rude.listen(QHostAddress::LocalHost, 0));
            port = rude.serverPort();
        } else if (key == "another program holds the port") {
            ASSERT_TRUE(holder.listen(QHostAddress::AnyIPv4, static_cast<quint16>(port)));
        } else if (key == "the rude server resets") {
            ASSERT_TRUE(QTest::qWaitFor([&] { return rude.hasPendingConnections(); }, kWait));
            QTcpSocket* peer = rude.nextPendingConnection();
            peer->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            peer->abort();
        } else {
            auto& copy = copies[key.substr(0, key.find(' '))];
            if (!copy) copy = std::make_unique<Copy>(port);
            Act(*copy, key.substr(key.find(' ') + 1), v);
        }
    }
    void Act(Copy& c, const std::string& what, const std::string& v) {
        if (what == "allow") {
            c.allow->trigger();
        } else if (what == "connect") {
            c.ConnectTo(v);
        } else if (what == "disconnect") {
            c.disconnect->trigger();
        } else if (what.ends_with(" becomes")) {
            const std::string check = what.substr(0, what.size() - 8);
            (void)QTest::qWaitFor([&] { return Check(c, check) == v; }, kWait);  // checked next
            EXPECT_EQ(Check(c, check), v);
        } else {
            EXPECT_EQ(Check(c, what), v);
        }
    }
};

TEST(LinkSockets, EachScriptPlaysOverLoopback) {
    testing::PlayScripts<SocketScript>("link/sockets.txt");
}

TEST(LinkSockets, OpeningAndClosingAThousandTimesLeaksNoDescriptor) {
    const int port = FreePort();
    Copy a(port), b(port);
    const int before = OpenDescriptors();
    for (int i = 0; i < 1000; ++i) {
        a.allow->trigger();
        b.ConnectTo("127.0.0.1");
        ASSERT_TRUE(QTest::qWaitFor([&] { return b.Menu() == "---d"; }, kWait)) << i;
        b.disconnect->trigger();
        a.disconnect->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_LE(OpenDescriptors(), before);
    EXPECT_EQ(a.dialogs.Messages.size(), 1000u);  // each "Local Address = ..."
    EXPECT_TRUE(b.dialogs.Messages.empty());
}

TEST(LinkSockets, WhatsMyIpListsTheAddressesAndAFailedLookupShowsNone) {
    Copy a(FreePort());
    QStringList rows;
    QString title;
    testing::WhenModal([&](QWidget* w) {
        auto* form = qobject_cast<TLocalAddressesForm*>(w);
        ASSERT_NE(form, nullptr);
        title = form->windowTitle();
        for (int i = 0; i < form->List->count(); ++i)
            rows << form->List->item(i)->text();
        form->OkButton->click();
    });
    a.ip->trigger();
    EXPECT_EQ(title, "Local IP Addresses");
    EXPECT_EQ(rows, (QStringList{"127.0.0.1", "192.168.7.9"}));

    a.commands->Lookup = [] { return std::optional<TLocalHost>(); };
    int shown = 0;
    a.commands->ShowAddresses = [&](const std::vector<std::string>&) { ++shown; };
    a.ip->trigger();
    EXPECT_EQ(shown, 0);
}

// tests/data/link/socket_errors.txt: each Qt error's code and text.
TEST(LinkSockets, QtErrorsMapOntoTheWinsockCodes) {
    const QMetaEnum errors = QMetaEnum::fromType<QAbstractSocket::SocketError>();
    const testing::TCase table = testing::ReadCases("link/socket_errors.txt").at(1);
    for (const auto& [name, shown] : table.Fields) {
        const int code =
            WinsockCodeOf(QAbstractSocket::SocketError(errors.keyToValue(name.c_str())));
        EXPECT_EQ(std::to_string(code) + " " + SocketErrorText(code), shown) << name;
    }
}

}  // namespace
}  // namespace kestrova

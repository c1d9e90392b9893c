// The co-host link played from tests/data/link/cohost.txt, and its error table.
#include "link/cohost_link.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "link/link_errors.h"

namespace kestrova {
namespace {

// Sockets that only record what the link asked of them.
class FakeSockets : public ILinkSockets {
  public:
    std::vector<std::string> Calls;
    int ListenResult = 0;
    bool listening = false, client = false;
    int Listen(int port) override {
        Calls.push_back("listen " + std::to_string(port));
        listening = ListenResult == 0;
        return ListenResult;
    }
    bool Listening() const override { return listening; }
    void CloseServer() override {
        Calls.push_back("close server");
        listening = false;
    }
    void Connect(const std::string& host, int port) override {
        Calls.push_back("connect " + host + ":" + std::to_string(port));
        client = true;
    }
    bool ClientOpen() const override { return client; }
    void CloseClient() override {
        Calls.push_back("close client");
        client = false;
    }
};

// One script of tests/data/link/cohost.txt against a fresh link.
struct LinkScript {
    FakeSockets sockets;
    testing::FakeDialogs dialogs;
    std::optional<TLocalHost> local = TLocalHost{"desk", {"192.168.1.5", "10.0.0.7"}};
    int menuChanges = 0;
    std::map<std::string, size_t> seen;
    TCoHostLink link{sockets, dialogs, [this] { return local; }};
    LinkScript() { link.MenuChanged = [this] { ++menuChanges; }; }
    std::string Since(const std::string& check, const std::vector<std::string>& list) {
        size_t& from = seen[check];
        std::string out = from == list.size() ? "(none)" : "";
        for (size_t i = from; i < list.size(); ++i) out += (i == from ? "" : " | ") + list[i];
        from = list.size();
        return out;
    }
    std::string Menu() const {
        const TLinkMenu& m = link.Menu();
        return {m.AllowChecked ? 'x' : '-', m.AllowEnabled ? 'a' : '-', m.ConnectEnabled ? 'c' : '-',
                m.DisconnectEnabled ? 'd' : '-'};
    }
    void Step(const std::string& key, const std::string& v) {
        if (key == "allow") link.AllowHost();
        else if (key == "connect") {
            dialogs.Inputs = {v == "(cancel)" ? std::nullopt : std::optional<std::string>(v)};
            link.ConnectHost();
        } else if (key == "disconnect") link.Disconnect();
        else if (key == "connected") link.Connected();
        else if (key == "client closed") link.ClientDisconnected();
        else if (key == "client error") link.ClientError(std::stoi(v));
        else if (key == "listen fails") sockets.ListenResult = std::stoi(v);
        else if (key == "lookup") {
            local = v == "none" ? std::nullopt : std::optional<TLocalHost>(TLocalHost{"desk", {}});
            std::istringstream in(v);
            for (std::string a; local && in >> a;) local->Addresses.push_back(a);
        } else if (key == "menu") EXPECT_EQ(Menu(), v);
        else if (key == "calls") EXPECT_EQ(Since(key, sockets.Calls), v);
        else if (key == "messages") EXPECT_EQ(Since(key, dialogs.Messages), v);
        else if (key == "menu changes") EXPECT_EQ(menuChanges, std::stoi(v));
        else if (key == "client") EXPECT_EQ(sockets.ClientOpen() ? "open" : "closed", v);
        else if (key == "my ip") {
            const auto ip = link.WhatsMyIp();
            std::string shown = ip ? "" : "none";
            for (const auto& a : ip.value_or(std::vector<std::string>{})) shown += (shown.empty() ? "" : " ") + a;
            EXPECT_EQ(shown, v);
        } else ADD_FAILURE() << "unknown step " << key;
    }
};

TEST(CoHostLink, EachScriptPlaysAsWritten) {
    for (const testing::TCase& c : testing::ReadCases("link/cohost.txt")) {
        SCOPED_TRACE(c.Where());
        LinkScript s;
        for (const auto& [key, value] : c.Fields) {
            SCOPED_TRACE(key + " = " + value);
            s.Step(key, value);
        }
    }
}

TEST(LinkErrors, EveryRowOfTheTableAndNoOther) {
    const testing::TCase table = testing::ReadCases("link/socket_errors.txt").at(0);
    for (const auto& [code, text] : table.Fields) EXPECT_EQ(SocketErrorText(std::stoi(code)), text) << code;
    int known = 0;
    for (int code = 10000; code < 11100; ++code) known += SocketErrorText(code) != "Unknown error.";
    EXPECT_EQ(known, static_cast<int>(table.Fields.size()));
    EXPECT_EQ(LocalAddressText({"1.2.3.4"}), "Local Address = 1.2.3.4");
}

}  // namespace
}  // namespace kestrova

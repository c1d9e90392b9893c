// The co-host link played from tests/data/link/cohost.txt, and its error table.
#include "link/cohost_link.h"

#include <gtest/gtest.h>

#include "fakes/fake_ports.h"
#include "link/link_errors.h"
#include "lobby/script_steps.h"

namespace kestrova::testing {
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
class LinkScript {
  public:
    LinkScript() {
        link.MenuChanged = [this] { ++menuChanges; };
    }
    void SetUp() {}
    void TearDown() {}
    void Step(const std::string& key, const std::string& v) { RunStep(actions, checks, key, v); }

  private:
    std::string Menu() const {
        const TLinkMenu& m = link.Menu();
        return {m.AllowChecked ? 'x' : '-', m.AllowEnabled ? 'a' : '-',
                m.ConnectEnabled ? 'c' : '-', m.DisconnectEnabled ? 'd' : '-'};
    }
    std::string MyIp() const {  // the addresses with a space between
        const auto ip = link.WhatsMyIp();
        std::string shown = ip ? "" : "none";
        for (size_t i = 0; ip && i < ip->size(); ++i)
            shown += (i ? " " : "") + (*ip)[i];
        return shown;
    }

    FakeSockets sockets;
    FakeDialogs dialogs;
    std::optional<TLocalHost> local = TLocalHost{"desk", {"192.168.1.5", "10.0.0.7"}};
    int menuChanges = 0;
    TSinceLast since;
    TCoHostLink link{sockets, dialogs, [this] { return local; }};

    const std::map<std::string, TAction> actions = {
        {"allow", [this](const std::string&) { link.AllowHost(); }},
        {"connect",
         [this](const std::string& v) {
             dialogs.Inputs = {v == "(cancel)" ? std::nullopt : std::optional(v)};
             link.ConnectHost();
         }},
        {"disconnect", [this](const std::string&) { link.Disconnect(); }},
        {"connected", [this](const std::string&) { link.Connected(); }},
        {"client closed", [this](const std::string&) { link.ClientDisconnected(); }},
        {"client error", [this](const std::string& v) { link.ClientError(std::stoi(v)); }},
        {"listen fails", [this](const std::string& v) { sockets.ListenResult = std::stoi(v); }},
        {"lookup",
         [this](const std::string& v) {
             local = TLocalHost{"desk", v.empty() ? std::vector<std::string>{} : Split(v, " ")};
             if (v == "none") local.reset();
         }},
    };
    const std::map<std::string, TCheck> checks = {
        {"menu", [this](const std::string&) { return Menu(); }},
        {"calls", [this](const std::string&) { return since("calls", sockets.Calls); }},
        {"messages", [this](const std::string&) { return since("messages", dialogs.Messages); }},
        {"menu changes", [this](const std::string&) { return std::to_string(menuChanges); }},
        {"client", [this](const std::string&) { return sockets.ClientOpen() ? "open" : "closed"; }},
        {"my ip", [this](const std::string&) { return MyIp(); }},
    };
};

TEST(CoHostLink, EachScriptPlaysAsWritten) {
    PlayScripts<LinkScript>("link/cohost.txt");
}

TEST(LinkErrors, EveryRowOfTheTableAndNoOther) {
    const TCase table = ReadCases("link/socket_errors.txt").at(0);
    for (const auto& [code, text] : table.Fields)
        EXPECT_EQ(SocketErrorText(std::stoi(code)), text) << code;
    int known = 0;
    for (int code = 10000; code < 11100; ++code)
        known += SocketErrorText(code) != "Unknown error.";
    EXPECT_EQ(known, static_cast<int>(table.Fields.size()));
}

}  // namespace
}  // namespace kestrova::testing

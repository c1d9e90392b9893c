#include "link/cohost_link.h"

#include <gtest/gtest.h>

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

struct LinkTest : ::testing::Test {
    FakeSockets sockets;
    testing::FakeDialogs dialogs;
    std::optional<TLocalHost> local = TLocalHost{"desk", {"192.168.1.5", "10.0.0.7"}};
    int menuChanges = 0;
    TCoHostLink link{sockets, dialogs, [this] { return local; }};
    void SetUp() override {
        link.MenuChanged = [this] { ++menuChanges; };
    }
    // "a c d x": Allow checked and enabled, Connect enabled, Disconnect enabled; '-' off.
    std::string Menu() const {
        const TLinkMenu& m = link.Menu();
        std::string s;
        s += m.AllowChecked ? 'x' : '-';
        s += m.AllowEnabled ? 'a' : '-';
        s += m.ConnectEnabled ? 'c' : '-';
        s += m.DisconnectEnabled ? 'd' : '-';
        return s;
    }
};

TEST_F(LinkTest, ListeningChecksTheItemAndTellsTheAddresses) {
    EXPECT_EQ(Menu(), "-ac-");
    link.AllowHost();
    EXPECT_EQ(sockets.Calls, (std::vector<std::string>{"listen 11179"}));
    EXPECT_EQ(Menu(), "xac-");
    EXPECT_EQ(dialogs.Messages, (std::vector<std::string>{"Local Address = 192.168.1.5, 10.0.0.7"}));
    // Again while listening: the socket stays, the addresses are told again.
    link.AllowHost();
    EXPECT_EQ(sockets.Calls.size(), 1u);
    EXPECT_EQ(dialogs.Messages.size(), 2u);
    // A peer arrives; leaving it changes nothing; Disconnect closes and unchecks.
    link.Connected();
    EXPECT_EQ(Menu(), "x--d");
    link.Disconnect();
    EXPECT_EQ(sockets.Calls.back(), "close server");
    EXPECT_EQ(Menu(), "-ac-");
    EXPECT_EQ(menuChanges, 4);
}

TEST_F(LinkTest, NoLookupWarnsAndOpensNothingAndNoAddressesSayNothing) {
    local.reset();
    link.AllowHost();
    EXPECT_EQ(dialogs.Messages,
              (std::vector<std::string>{"It appears you do not have an Internet connection"}));
    EXPECT_TRUE(sockets.Calls.empty());
    EXPECT_EQ(Menu(), "-ac-");
    EXPECT_FALSE(link.WhatsMyIp().has_value());

    local = TLocalHost{"desk", {}};
    link.AllowHost();
    EXPECT_EQ(Menu(), "xac-");
    EXPECT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(link.WhatsMyIp(), std::vector<std::string>{});
}

TEST_F(LinkTest, APortInUseIsToldAndLeavesTheItemUnchecked) {
    sockets.ListenResult = wsa::AddressInUse;
    link.AllowHost();
    EXPECT_EQ(dialogs.Messages,
              (std::vector<std::string>{"Error connecting to desk: Address in use. (10048)"}));
    EXPECT_EQ(Menu(), "-ac-");
}

TEST_F(LinkTest, ConnectingAsksForTheHostAndFollowsTheSocket) {
    dialogs.Inputs = {std::nullopt, std::string(), std::string("tower")};
    link.ConnectHost();  // Cancel
    link.ConnectHost();  // empty
    EXPECT_TRUE(sockets.Calls.empty());
    link.ConnectHost();
    EXPECT_EQ(sockets.Calls, (std::vector<std::string>{"connect tower:11179"}));
    EXPECT_EQ(Menu(), "-ac-");  // connecting shows nothing yet
    link.Connected();
    EXPECT_EQ(Menu(), "---d");
    link.ClientDisconnected();
    EXPECT_EQ(Menu(), "-ac-");

    dialogs.Inputs = {std::string("tower")};
    link.ConnectHost();
    link.Connected();
    link.Disconnect();
    EXPECT_EQ(sockets.Calls.back(), "close client");
    EXPECT_EQ(Menu(), "-ac-");
}

TEST_F(LinkTest, ClientErrorsShowTheTableTextWithTheTypedHost) {
    struct Case {
        int Code;
        std::string Box;
    };
    const Case cases[] = {
        {10061, "Error connecting to tower: Connection is forcefully rejected. (10061)"},
        {11001, "Error connecting to tower: Authoritative answer: Host not found. (11001)"},
        {10060, "Error connecting to tower: The attempt to connect timed out. (10060)"},
        {10054, "Error connecting to tower: The connection is reset by remote side. (10054)"},
        {10046, "Error connecting to tower: Unknown error. (10046)"},
        {0, "Error connecting to tower: Unknown error. (0)"},
        {-1, "Error connecting to tower: Unknown error. (-1)"},
    };
    for (const auto& c : cases) {
        dialogs.Messages.clear();
        dialogs.Inputs = {std::string("tower")};
        link.ConnectHost();
        link.ClientError(c.Code);
        EXPECT_EQ(dialogs.Messages, std::vector<std::string>{c.Box});
        EXPECT_FALSE(sockets.ClientOpen());
        EXPECT_EQ(Menu(), "-ac-");
    }
    // The listening side is not touched by a client's failure.
    link.AllowHost();
    dialogs.Inputs = {std::string("tower")};
    link.ConnectHost();
    link.ClientError(10061);
    EXPECT_EQ(Menu(), "xac-");
}

TEST(LinkErrors, EveryRowOfTheTable) {
    EXPECT_EQ(SocketErrorText(10037), "The operation is completed.  No blocking operation is in progress.");
    EXPECT_EQ(SocketErrorText(10202), "Socket has not been created for this object.");
    EXPECT_EQ(SocketErrorText(11004), "Valid name, no data record of requested type.");
    int known = 0;
    for (int code = 10000; code < 11100; ++code)
        known += SocketErrorText(code) != "Unknown error.";
    EXPECT_EQ(known, 36);
    EXPECT_EQ(LocalAddressText({"1.2.3.4"}), "Local Address = 1.2.3.4");
}

}  // namespace
}  // namespace kestrova

#include "formats/post_to_lobby.h"

#include <gtest/gtest.h>

#include "fakes/fake_ports.h"
#include "engine/format_store.h"
#include "formats/messages.h"

namespace kestrova {
namespace {

using testing::FakeWorld;
using testing::ReadFileBytes;
using testing::TempDir;
using Lines = std::vector<std::string>;

class WaitingLobby : public testing::FakeLobby {
  public:
    std::vector<int> Waits;
    void Wait(int ms) override { Waits.push_back(ms); }
};

class PostTest : public ::testing::Test {
  protected:
    TempDir dir;
    FakeWorld world;
    WaitingLobby lobby;
    TTourneyState s;

    PostTest() {
        world.Wire(s);
        s.Ports.Lobby = &lobby;
        s.TourneyPath = dir.File("t.kvb");
        s.Settings.FilesFolder = dir.Path();
        lobby.ChatWindow = true;
    }
    std::string Log() { return ReadFileBytes(dir.File("t.log")); }
};

TEST_F(PostTest, LineGoesThroughClipboardIntoChatAndIsSent) {
    EXPECT_EQ(PostToLobby(s, "Hello \"all\"", true), TPostResult::Sent);
    EXPECT_EQ(lobby.Clipboard, Lines{"Hello \"all\""});
    EXPECT_EQ(lobby.Chat, Lines{"Hello \"all\""});
    EXPECT_EQ(lobby.Enters, 1);
    EXPECT_EQ(lobby.Waits, std::vector<int>{100});
    EXPECT_NE(Log().find("    -> Posting \"Hello \"all\"\"\r\n"), std::string::npos);
}

TEST_F(PostTest, WithoutChatWindowOnlyTheClipboard) {
    lobby.ChatWindow = false;
    EXPECT_EQ(PostToLobby(s, "x", false), TPostResult::ClipboardOnly);
    EXPECT_EQ(lobby.Clipboard, Lines{"x"});
    EXPECT_TRUE(lobby.Chat.empty());
    EXPECT_EQ(lobby.Enters, 0);
}

TEST_F(PostTest, BusyClipboardWarnsAndStops) {
    lobby.ClipboardBusy = true;
    EXPECT_EQ(PostToLobby(s, "x", false), TPostResult::ClipboardFailed);
    EXPECT_EQ(world.Dialogs.Messages, Lines{"Can't copy message into clipboard"});
    EXPECT_TRUE(lobby.Chat.empty());
    EXPECT_EQ(lobby.Enters, 0);
}

TEST_F(PostTest, MarkedLines) {
    // Asked for by the host: sent without the mark.
    EXPECT_EQ(PostToLobby(s, "%!Rules", false), TPostResult::Sent);
    EXPECT_EQ(lobby.Chat, Lines{"Rules"});
    // Automatic: the clipboard only.
    EXPECT_EQ(PostToLobby(s, "%!Rules", true), TPostResult::ClipboardOnly);
    EXPECT_EQ(lobby.Clipboard.back(), "Rules");
    EXPECT_EQ(lobby.Chat.size(), 1u);
    // The mark alone is an ordinary line.
    EXPECT_EQ(PostToLobby(s, "%!", true), TPostResult::Sent);
    EXPECT_EQ(lobby.Chat.back(), "%!");
    EXPECT_NE(Log().find("    -> Posting \"%!Rules\"\r\n"), std::string::npos);
}

TEST_F(PostTest, PreviewPastesButSendsNothing) {
    s.Settings.AutoPostPreview = true;
    EXPECT_EQ(PostToLobby(s, "wait here", true), TPostResult::Pasted);
    EXPECT_EQ(lobby.Chat, Lines{"wait here"});
    EXPECT_EQ(lobby.Enters, 0);
    EXPECT_TRUE(lobby.Waits.empty());
}

TEST_F(PostTest, TemplateOfThreePartsPostsThreeLines) {
    s.MsgParams.PlayerName = "Ann";
    PostMessageKind(s, "one %p%ctwo%Cthree", true);
    EXPECT_EQ(lobby.Chat, (Lines{"one Ann", "two", "three"}));
    EXPECT_EQ(lobby.Enters, 3);

    lobby.Chat.clear();
    lobby.Enters = 0;
    s.Settings.AutoPostPreview = true;
    PostMessageKind(s, "one %p%ctwo%cthree", true);
    EXPECT_EQ(lobby.Chat, Lines{"one Ann"});
    EXPECT_EQ(lobby.Enters, 0);

    lobby.Clipboard.clear();
    s.Settings.AutoPostPreview = false;
    lobby.ChatWindow = false;
    PostMessageKind(s, "one%ctwo", false);
    EXPECT_EQ(lobby.Clipboard, Lines{"one\r\ntwo"});
}

// Without a chat window the host pastes by hand: every line of the posting is
// on the clipboard, one line each, and the status bar says how many.
TEST_F(PostTest, WithoutAChatWindowTheWholeTextGoesOnTheClipboard) {
    lobby.ChatWindow = false;
    const struct {
        const char* text;
        bool preview, automatic;
        Lines clipboard;
        const char* status;
    } rows[] = {
        {"%!first %p%csecond%c", false, true, {"first Ann\r\nsecond\r\n"},
         "On the clipboard (3 lines): first Ann"},
        {"one", true, false, {"one"}, "On the clipboard: one"},
        {"%!", false, true, {"%!"}, "On the clipboard: %!"},
        {"a%cb%cc", true, false, {"a\r\nb\r\nc"}, "On the clipboard (3 lines): a"},
    };
    s.MsgParams.PlayerName = "Ann";
    for (const auto& row : rows) {
        lobby.Clipboard.clear();
        world.View.Statuses.clear();
        s.Settings.AutoPostPreview = row.preview;
        PostMessageKind(s, row.text, row.automatic);
        EXPECT_EQ(lobby.Clipboard, row.clipboard) << row.text;
        EXPECT_EQ(world.View.Statuses, Lines{row.status}) << row.text;
        EXPECT_TRUE(lobby.Chat.empty());
    }
    EXPECT_NE(Log().find("    -> Posting \"%!first Ann\"\r\n    -> Posting \"second\"\r\n"
                         "    -> Posting \"\"\r\n"),
              std::string::npos);
    // A busy clipboard: the warning, and no note in the status bar.
    lobby.ClipboardBusy = true;
    world.View.Statuses.clear();
    PostMessageKind(s, "x%cy", true);
    EXPECT_EQ(world.Dialogs.Messages, Lines{"Can't copy message into clipboard"});
    EXPECT_EQ(world.View.Statuses, Lines{""});
}

TEST_F(PostTest, StatusNamesWhereAPostingWentWithAChatWindow) {
    PostMessageKind(s, "a%cb", false);
    s.Settings.AutoPostPreview = true;
    PostMessageKind(s, "c%cd", false);
    EXPECT_EQ(world.View.Statuses,
              (Lines{"Posted in the lobby (2 lines): a", "In the lobby's chat box: c"}));
}

TEST_F(PostTest, EmptyPiecesAndSplitBeforeExpansion) {
    s.MsgParams.PlayerName = "A%cB";
    PostMessageKind(s, "%p%c%cend%c", true);
    EXPECT_EQ(lobby.Chat, (Lines{"A%cB", "", "end", ""}));
    EXPECT_EQ(SplitTemplateLines("%c"), (Lines{"", ""}));
    EXPECT_EQ(SplitTemplateLines("plain"), Lines{"plain"});
}

TEST_F(PostTest, MarkedTemplateWithholdsOnlyItsFirstLineWhenAutomatic) {
    PostMessageKind(s, "%!first%csecond", true);
    EXPECT_EQ(lobby.Clipboard, (Lines{"first", "second"}));
    EXPECT_EQ(lobby.Chat, Lines{"second"});
}

TEST_F(PostTest, TemplateAnnouncerPostsTheCurrentFormatsText) {
    SelectFormat(s, "Default");
    s.MsgParams.PlayerName = "Zed";
    TTemplateAnnouncer announcer;
    announcer.Post(s, TMessageKind::mkBye, true);
    EXPECT_EQ(lobby.Chat, Lines{std::string(7, '\x95') + " Zed, you have the lucky BYE for Round 1!"});
    lobby.Chat.clear();
    s.MsgParams.MatchPoints[0] = 3;
    announcer.Post(s, TMessageKind::mkAllStart, false);
    ASSERT_EQ(lobby.Chat.size(), 3u);
    const std::string b7(7, '\x95');
    EXPECT_EQ(lobby.Chat[2], b7 + "     ALL START - 3 points     " + b7);
}

}  // namespace
}  // namespace kestrova

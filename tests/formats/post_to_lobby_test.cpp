#include "formats/post_to_lobby.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/fake_ports.h"
#include "engine/format_store.h"
#include "formats/messages.h"

namespace kestrova {
namespace {

using testing::FakeWorld;
using testing::ReadFileBytes;
using testing::TempDir;
using Lines = std::vector<std::string>;

class PostTest : public ::testing::Test {
  protected:
    TempDir dir;
    FakeWorld world;
    testing::FakeLobby& lobby = world.Lobby;
    TTourneyState s;
    TWindowHandle input = 0;

    PostTest() {
        world.Wire(s);
        s.TourneyPath = dir.File("t.kvb");
        s.Settings.FilesFolder = dir.Path();
        input = world.AttachRoom(s);
    }
    std::string Log() { return ReadFileBytes(dir.File("t.log")); }
    // Lines sent with Enter, and what waits in the input.
    const Lines& Sent() { return world.Windows.At(input).Sent; }
    const std::string& Waiting() { return world.Windows.At(input).Text; }
};

TEST_F(PostTest, LineGoesThroughClipboardIntoChatAndIsSent) {
    EXPECT_EQ(PostToLobby(s, "Hello \"all\"", true), TPostResult::Sent);
    EXPECT_EQ(lobby.Clipboard, Lines{"Hello \"all\""});
    EXPECT_EQ(Sent(), Lines{"Hello \"all\""});
    // Select all, paste (sent); key down, character, key up (posted).
    std::vector<std::tuple<uint32_t, uintptr_t, intptr_t, bool>> msgs;
    for (const auto& m : world.Windows.Messages) {
        EXPECT_EQ(m.Window, input);
        msgs.emplace_back(m.Msg, m.WParam, m.LParam, m.Posted);
    }
    EXPECT_EQ(msgs, (decltype(msgs){{0x00B1, 0, -1, false},
                                    {0x0302, 0, 0, false},
                                    {0x0100, 13, 0, true},
                                    {0x0102, 13, 0, true},
                                    {0x0101, 13, 0, true}}));
    EXPECT_EQ(lobby.Waits, std::vector<int>{100});
    EXPECT_NE(Log().find("    -> Posting \"Hello \"all\"\"\r\n"), std::string::npos);
}

TEST_F(PostTest, WithoutChatWindowOnlyTheClipboard) {
    s.FLobbyEditWnd = 0;
    EXPECT_EQ(PostToLobby(s, "x", false), TPostResult::ClipboardOnly);
    EXPECT_EQ(lobby.Clipboard, Lines{"x"});
    EXPECT_TRUE(world.Windows.Messages.empty());
}

TEST_F(PostTest, BusyClipboardWarnsAndStops) {
    lobby.ClipboardBusy = true;
    EXPECT_EQ(PostToLobby(s, "x", false), TPostResult::ClipboardFailed);
    EXPECT_EQ(world.Dialogs.Messages, Lines{"Can't copy message into clipboard"});
    EXPECT_TRUE(world.Windows.Messages.empty());
}

TEST_F(PostTest, MarkedLines) {
    // Asked for by the host: sent without the mark.
    EXPECT_EQ(PostToLobby(s, "%!Rules", false), TPostResult::Sent);
    EXPECT_EQ(Sent(), Lines{"Rules"});
    // Automatic: the clipboard only.
    EXPECT_EQ(PostToLobby(s, "%!Rules", true), TPostResult::ClipboardOnly);
    EXPECT_EQ(lobby.Clipboard.back(), "Rules");
    EXPECT_EQ(Sent().size(), 1u);
    // The mark alone is an ordinary line.
    EXPECT_EQ(PostToLobby(s, "%!", true), TPostResult::Sent);
    EXPECT_EQ(Sent().back(), "%!");
    EXPECT_NE(Log().find("    -> Posting \"%!Rules\"\r\n"), std::string::npos);
}

TEST_F(PostTest, PreviewPastesButSendsNothing) {
    s.Settings.AutoPostPreview = true;
    EXPECT_EQ(PostToLobby(s, "wait here", true), TPostResult::Pasted);
    EXPECT_EQ(Waiting(), "wait here");
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(lobby.Waits.empty());
    // The next line replaces what waits there, as the host's own typing would be.
    PostToLobby(s, "instead", false);
    EXPECT_EQ(Waiting(), "instead");
}

TEST_F(PostTest, TemplateOfThreePartsPostsThreeLines) {
    s.MsgParams.PlayerName = "Ann";
    PostMessageKind(s, "one %p%ctwo%Cthree", true);
    EXPECT_EQ(Sent(), (Lines{"one Ann", "two", "three"}));

    world.Windows.At(input).Sent.clear();
    s.Settings.AutoPostPreview = true;
    PostMessageKind(s, "one %p%ctwo%cthree", true);
    EXPECT_EQ(Waiting(), "one Ann");
    EXPECT_TRUE(Sent().empty());

    lobby.Clipboard.clear();
    s.Settings.AutoPostPreview = false;
    s.FLobbyEditWnd = 0;
    PostMessageKind(s, "one%ctwo", false);
    EXPECT_EQ(lobby.Clipboard, Lines{"one\r\ntwo"});
}

// Without a chat window the host pastes by hand: every line of the posting is
// on the clipboard, one line each, and the status bar says how many.
TEST_F(PostTest, WithoutAChatWindowTheWholeTextGoesOnTheClipboard) {
    s.FLobbyEditWnd = 0;
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
        EXPECT_TRUE(world.Windows.Messages.empty());
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
    EXPECT_EQ(Sent(), (Lines{"A%cB", "", "end", ""}));
    EXPECT_EQ(SplitTemplateLines("%c"), (Lines{"", ""}));
    EXPECT_EQ(SplitTemplateLines("plain"), Lines{"plain"});
}

TEST_F(PostTest, MarkedTemplateWithholdsOnlyItsFirstLineWhenAutomatic) {
    PostMessageKind(s, "%!first%csecond", true);
    EXPECT_EQ(lobby.Clipboard, (Lines{"first", "second"}));
    EXPECT_EQ(Sent(), Lines{"second"});
}

TEST_F(PostTest, TemplateAnnouncerPostsTheCurrentFormatsText) {
    SelectFormat(s, "Default");
    s.MsgParams.PlayerName = "Zed";
    TTemplateAnnouncer announcer;
    announcer.Post(s, TMessageKind::mkBye, true);
    EXPECT_EQ(Sent(), Lines{std::string(7, '\x95') + " Zed, you have the lucky BYE for Round 1!"});
    world.Windows.At(input).Sent.clear();
    s.MsgParams.MatchPoints[0] = 3;
    announcer.Post(s, TMessageKind::mkAllStart, false);
    ASSERT_EQ(Sent().size(), 3u);
    const std::string b7(7, '\x95');
    EXPECT_EQ(Sent()[2], b7 + "     ALL START - 3 points     " + b7);
}

}  // namespace
}  // namespace kestrova

// Postings to the lobby played from tests/data/formats/postings.txt, the
// window messages a line is made of, and the announcer of the templates.
#include "formats/post_to_lobby.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <utility>

#include "engine/format_store.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "formats/messages.h"

namespace kestrova::testing {
namespace {

using Lines = std::vector<std::string>;

struct Posting {
    TempDir Dir;
    FakeWorld World;
    TTourneyState S;
    TWindowHandle Input = 0;
    std::map<std::string, size_t> Seen;  // how much of each list the last check saw
    Posting() {
        World.Wire(S);
        S.TourneyPath = Dir.File("t.kvb");
        S.Settings.FilesFolder = Dir.Path();
        S.MsgParams.PlayerName = "Ann";
        Input = World.AttachRoom(S);
    }
    // What was added to a list since the same check last ran.
    std::string Since(const std::string& check, const Lines& list) {
        size_t& from = Seen[check];
        std::string out = from == list.size() ? "(none)" : "";
        for (size_t i = from; i < list.size(); ++i) out += (i == from ? "" : " | ") + list[i];
        from = list.size();
        return out;
    }
    void Step(const std::string& key, const std::string& v) {
        static const char* results[] = {"ClipboardFailed", "ClipboardOnly", "Pasted", "Sent"};
        const Lines waits = [&] {
            Lines w;
            for (int ms : World.Lobby.Waits) w.push_back(std::to_string(ms));
            return w;
        }();
        if (key == "room") S.FLobbyEditWnd = 0;
        else if (key == "preview") S.Settings.AutoPostPreview = v == "on";
        else if (key == "busy clipboard") World.Lobby.ClipboardBusy = v == "on";
        else if (key == "player") S.MsgParams.PlayerName = v;
        else if (key == "line" || key == "host line") Result = results[static_cast<int>(PostToLobby(S, v, key == "line"))];
        else if (key == "template" || key == "host template") PostMessageKind(S, v, key == "template");
        else if (key == "result") EXPECT_EQ(std::exchange(Result, ""), v);
        else if (key == "clipboard") EXPECT_EQ(Since(key, World.Lobby.Clipboard), v);
        else if (key == "sent") EXPECT_EQ(Since(key, World.Windows.At(Input).Sent), v);
        else if (key == "status") EXPECT_EQ(Since(key, World.View.Statuses), v);
        else if (key == "messages") EXPECT_EQ(Since(key, World.Dialogs.Messages), v);
        else if (key == "waits") EXPECT_EQ(Since(key, waits), v);
        else if (key == "waiting") EXPECT_EQ(World.Windows.At(Input).Text, v);
        else if (key == "log") EXPECT_NE(ReadFileBytes(Dir.File("t.log")).find(v), std::string::npos) << v;
        else ADD_FAILURE() << "unknown step " << key;
    }
    std::string Result;
};

TEST(PostToLobby, EachCasePostsAsWritten) {
    for (const TCase& c : ReadCases("formats/postings.txt")) {
        SCOPED_TRACE(c.Where());
        Posting p;
        for (const auto& [key, value] : c.Fields) {
            SCOPED_TRACE(key + " = " + value);
            p.Step(key, value);
        }
    }
}

TEST(PostToLobby, ALineIsSelectAllPasteThenEnterPostedToTheInput) {
    Posting p;
    EXPECT_EQ(PostToLobby(p.S, "Hello", true), TPostResult::Sent);
    std::vector<std::tuple<uint32_t, uintptr_t, intptr_t, bool>> msgs;
    for (const auto& m : p.World.Windows.Messages) {
        EXPECT_EQ(m.Window, p.Input);
        msgs.emplace_back(m.Msg, m.WParam, m.LParam, m.Posted);
    }
    // Select all and paste are sent; key down, character and key up posted.
    EXPECT_EQ(msgs, (decltype(msgs){{0x00B1, 0, -1, false},
                                    {0x0302, 0, 0, false},
                                    {0x0100, 13, 0, true},
                                    {0x0102, 13, 0, true},
                                    {0x0101, 13, 0, true}}));
}

TEST(PostToLobby, TheTemplateAnnouncerPostsTheCurrentFormatsText) {
    Posting p;
    SelectFormat(p.S, "Default");
    p.S.MsgParams.PlayerName = "Zed";
    TTemplateAnnouncer announcer;
    announcer.Post(p.S, TMessageKind::mkBye, true);
    const std::string b7(7, '\x95');
    EXPECT_EQ(p.World.Windows.At(p.Input).Sent, Lines{b7 + " Zed, you have the lucky BYE for Round 1!"});
    p.S.MsgParams.MatchPoints[0] = 3;
    announcer.Post(p.S, TMessageKind::mkAllStart, false);
    ASSERT_EQ(p.World.Windows.At(p.Input).Sent.size(), 4u);
    EXPECT_EQ(p.World.Windows.At(p.Input).Sent[3], b7 + "     ALL START - 3 points     " + b7);
    EXPECT_EQ(SplitTemplateLines("%c"), (Lines{"", ""}));
}

}  // namespace
}  // namespace kestrova::testing

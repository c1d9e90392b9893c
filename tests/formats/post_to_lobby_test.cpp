// Postings to the lobby played from tests/data/formats/postings.txt (the
// window messages a line is made of among them), and the announcer of the
// templates.
#include "formats/post_to_lobby.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "common/text.h"
#include "engine/format_store.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "formats/messages.h"
#include "session/lifecycle.h"

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
        for (size_t i = from; i < list.size(); ++i)
            out += (i == from ? "" : " | ") + list[i];
        from = list.size();
        return out;
    }
    void Step(const std::string& key, const std::string& v) {
        static const char* results[] = {"ClipboardFailed", "ClipboardOnly", "Pasted", "Sent"};
        Lines waits, window;
        for (int ms : World.Lobby.Waits)
            waits.push_back(std::to_string(ms));
        for (const auto& m : World.Windows.Messages)
            window.push_back(Format("%s %04x %d %d", m.Window == Input ? "input" : "other", m.Msg,
                                    static_cast<int>(m.WParam), static_cast<int>(m.LParam)) +
                             (m.Posted ? " posted" : " sent"));
        const std::map<std::string, Lines> lists = {{"clipboard", World.Lobby.Clipboard},
                                                    {"sent", World.Windows.At(Input).Sent},
                                                    {"status", World.View.Statuses},
                                                    {"messages", World.Dialogs.Messages},
                                                    {"waits", waits},
                                                    {"window messages", window}};
        if (lists.count(key))
            EXPECT_EQ(Since(key, lists.at(key)), v);
        else if (key == "room")
            S.FLobbyEditWnd = 0;
        else if (key == "preview")
            S.Settings.AutoPostPreview = v == "on";
        else if (key == "busy clipboard")
            World.Lobby.ClipboardBusy = v == "on";
        else if (key == "player")
            S.MsgParams.PlayerName = v;
        else if (key == "line" || key == "host line")
            Result = results[static_cast<int>(PostToLobby(S, v, key == "line"))];
        else if (key == "template" || key == "host template")
            PostMessageKind(S, v, key == "template");
        else if (key == "format")
            SelectFormat(S, v);
        else if (key == "click")  // the host's buttons, through the templates' announcer
            v == "Welcome" ? PostWelcome(S) : v == "Format" ? PostFormat(S) : AnnounceWinners(S);
        else if (key == "result")
            EXPECT_EQ(std::exchange(Result, ""), v);
        else if (key == "waiting")
            EXPECT_EQ(World.Windows.At(Input).Text, v);
        else if (key == "log")
            EXPECT_NE(ReadFileBytes(Dir.File("t.log")).find(v), std::string::npos) << v;
        else
            ADD_FAILURE() << "unknown step " << key;
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

TEST(PostToLobby, TheTemplateAnnouncerPostsTheCurrentFormatsText) {
    Posting p;
    SelectFormat(p.S, "Default");
    p.S.MsgParams.PlayerName = "Zed";
    TTemplateAnnouncer announcer;
    announcer.Post(p.S, TMessageKind::mkBye, true);
    const std::string b7(7, '\x95');
    EXPECT_EQ(p.World.Windows.At(p.Input).Sent,
              Lines{b7 + " Zed, you have the lucky BYE for Round 1!"});
    p.S.MsgParams.MatchPoints[0] = 3;
    announcer.Post(p.S, TMessageKind::mkAllStart, false);
    ASSERT_EQ(p.World.Windows.At(p.Input).Sent.size(), 4u);
    EXPECT_EQ(p.World.Windows.At(p.Input).Sent[3], b7 + "     ALL START - 3 points     " + b7);
    EXPECT_EQ(SplitTemplateLines("%c"), (Lines{"", ""}));
}

}  // namespace
}  // namespace kestrova::testing

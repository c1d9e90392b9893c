// The cases of tests/data/engine/points_formats.txt, played by one runner:
// a formats file, the host's choices on the Format menu and a tournament
// played, then the values in force (the file's head lists the steps and
// checks). Then the 27 built-in lines, byte for byte.
#include "engine/format_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "common/int_list.h"
#include "common/text.h"
#include "engine/play_helpers.h"
#include "engine/points.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "fakes/case_file.h"
#include "session/lifecycle.h"

namespace kestrova {
namespace {

using namespace testing;

class TitleView : public FakeView {
  public:
    int HostFieldChanges = 0;
    void HostFieldsChanged() override { ++HostFieldChanges; }
};

class TFormatPlay {
  public:
    explicit TFormatPlay(const TCase& c) : c_(c) {
        world_.Wire(s_);
        s_.Ports.View = &view_;
        s_.TourneyPath = dir_.File("t.kvb");
        s_.Settings.FilesFolder = dir_.Path();
    }
    void Step(const std::string& key, const std::string& value);

  private:
    void Play(const std::string& how, bool toTheEnd);
    void Set(const std::string& key, const std::string& value);
    std::string Value(const std::string& key);
    const TCase& c_;
    TempDir dir_;
    FakeWorld world_;
    TitleView view_;
    TTourneyState s_;
    // The values a case sets or checks, by their formats-file keys.
    const std::map<std::string, TRoundList*> lists_ = {
        {"Points", &s_.MsgParams.MatchPoints},
        {"Win points", &s_.WinPoints},
        {"Bye points", &s_.ByePoints},
        {"Lose points", &s_.LosePoints},
        {"Match time limits", &s_.MsgParams.TimeLimits},
        {"Starting tables", &s_.StartTable}};
    const std::map<std::string, std::string*> texts_ = {
        {"title", &s_.Title},
        {"Host name", &s_.MsgParams.HostName},
        {"Co-host name", &s_.MsgParams.CoHostName},
        {"Co-host player Name", &s_.CoHostPlayerName},
        {"Start time", &s_.MsgParams.StartTime}};
    const std::map<std::string, int32_t*> numbers_ = {{"item", &s_.MatchPointsItem},
                                                      {"1st place points", &s_.FirstPlacePoints},
                                                      {"2nd place points", &s_.SecondPlacePoints},
                                                      {"Host points", &s_.HostPoints},
                                                      {"WinOfWin points", &s_.WinOfWinPoints},
                                                      {"Boot time", &s_.BootTime}};
};

// Started, then played out: the entry signed up first wins every table.
void TFormatPlay::Play(const std::string& how, bool toTheEnd) {
    const std::string format = how.substr(0, how.find(' '));
    StartTourney(s_,
                 format == "Triple"   ? TElimFormat::Triple
                 : format == "Double" ? TElimFormat::Double
                                      : TElimFormat::Single,
                 std::stoi(how.substr(how.find(' '))));
    if (!toTheEnd) return;
    PlayInSignupOrder(s_);
    EXPECT_TRUE(GrandFinalDecided(s_)) << c_.Where();
}

void TFormatPlay::Step(const std::string& key, const std::string& value) {
    SCOPED_TRACE(c_.Where() + ": " + key);
    if (key == "formats") {
        std::string text;
        for (const std::string& line : SplitLines(value))
            text += line + "\r\n";
        WriteFileBytes(FormatsFilePath(s_), text);
    } else if (key == "open") {
        RebuildFormatMenu(s_, value);
    } else if (key == "select") {
        SelectFormat(s_, value);
    } else if (key == "by name") {
        SelectFormatByName(s_, value);
    } else if (key == "preset") {
        ChooseMatchPointsPreset(s_, std::stoi(value));
    } else if (key == "closed") {
        s_.SignupClosed = true;
    } else if (key.rfind("set ", 0) == 0) {
        Set(key.substr(4), value);
    } else if (key == "new") {
        ResetTourneyState(s_);
    } else if (key == "start" || key == "play") {
        Play(value, key == "play");
    } else if (key == "disqualified") {
        s_.Players[std::stoul(value) - 1]->Disqualified = true;
    } else if (key == "renamed") {
        s_.Players[std::stoul(value) - 1]->Name = value.substr(value.find(' ') + 1);
    } else if (key == "double") {
        s_.DoublePlayerPoints = true;
    } else if (key == "log has") {
        EXPECT_NE(ReadFileBytes(dir_.File("t.log")).find(Unescape(value)), std::string::npos)
            << value;
    } else {
        EXPECT_EQ(Value(key), value);
    }
}

// A list is filled with the one value.
void TFormatPlay::Set(const std::string& key, const std::string& value) {
    if (lists_.count(key)) lists_.at(key)->fill(std::stoi(value));
    if (texts_.count(key)) *texts_.at(key) = value;
    if (numbers_.count(key)) *numbers_.at(key) = std::stoi(value);
    EXPECT_TRUE(lists_.count(key) + texts_.count(key) + numbers_.count(key))
        << "cannot set " << key;
}

std::string TFormatPlay::Value(const std::string& key) {
    if (key == "elim") return IntToStr(static_cast<int>(s_.ElimFormat) + 1);
    if (key == "host fields told") return IntToStr(view_.HostFieldChanges);
    if (lists_.count(key)) return FormatIntList(*lists_.at(key));
    if (texts_.count(key)) return *texts_.at(key);
    if (numbers_.count(key)) return IntToStr(*numbers_.at(key));
    std::string out;
    if (key == "format") return CurrentFormatName(s_);
    if (key == "names") return JoinLines(s_.FormatNames, "|");
    if (key == "formats file") return ReadFileBytes(FormatsFilePath(s_));
    if (key == "points") UpdatePlayerState(s_);
    for (const auto& tier : s_.MatchPointsTiers)
        if (key == "tiers") out += FormatIntList(tier) + " ";
    for (const auto& p : s_.Players)
        if (key == "points") out += IntToStr(p->Points) + " ";
    for (const auto& row : PlayerPointsRows(s_))
        if (key == "panel") out += Format("%s=%d ", row.Name.c_str(), row.Points);
    for (const auto& row : ByeRows(s_))
        if (key == "byes") out += row.Name + " " + row.Rounds + " ";
    if (key == "tiers") return out;
    if (key == "points" || key == "panel" || key == "byes") return Trim(out);
    for (int k = 0; k < MessageKindCount; ++k) {
        const std::string name = MessageKey(TMessageKind(k));
        if (key == name) return s_.Messages[k];
        if (key == name + " is built in")
            return s_.Messages[k] == DefaultFormatValue(name) ? "yes" : "no";
    }
    ADD_FAILURE() << c_.Where() << ": unknown key " << key;
    return "";
}

TEST(PointsFormats, PlayAsWorkedOutByHand) {
    for (const TCase& c : ReadCases("engine/points_formats.txt")) {
        TFormatPlay play(c);
        for (const auto& [key, value] : c.Fields)
            play.Step(key, value);
    }
}

// The 27 built-in lines, written out by hand in tests/data: {B7} stands for
// seven cp1252 bullets. Every message key finds its line, whatever its case.
TEST(FormatDefaults, TwentySevenLinesByteForByte) {
    std::string text = ReadFileBytes(DataPath("format_defaults.txt"));
    for (size_t at; (at = text.find("{B7}")) != std::string::npos;)
        text.replace(at, 4, 7, '\x95');
    const std::vector<std::string> expected = SplitLines(text);
    ASSERT_EQ(expected.size(), 27u);
    EXPECT_EQ(DefaultFormatLines(), expected);
    for (int k = 0; k < MessageKindCount; ++k) {
        const std::string key = MessageKey(TMessageKind(k));
        const std::string line = key + "=" + DefaultFormatValue(key);
        EXPECT_NE(std::find(expected.begin(), expected.begin() + 20, line), expected.begin() + 20)
            << line;
    }
    EXPECT_EQ("welcome=" + DefaultFormatValue("welcome"), "w" + expected[0].substr(1));
    EXPECT_EQ(DefaultFormatValue("ELIM") + "|" + DefaultFormatValue("Elim=") + "|" +
                  DefaultFormatValue("Nope"),
              "1||");
    EXPECT_EQ(FindPointsPreset(ParseIntList("3,5")), -1);
}

}  // namespace
}  // namespace kestrova

#include "records/tourney_dump.h"

#include <algorithm>
#include <cstdio>

#include "common/cp1252.h"
#include "common/text.h"

namespace kestrova {

namespace {

const char* const kBracketNames[3] = {"Winners", "OneLoss", "TwoLoss"};
const char* const kElimNames[3] = {"Single", "Double", "Triple"};

class TJson {
  public:
    std::string Out;

    void Open(char c) {
        Comma();
        Out += c;
        first_ = true;
    }
    void Close(char c) {
        Out += c;
        first_ = false;
    }
    void Key(const char* k) {
        Comma();
        Quoted(k);
        Out += ':';
        first_ = true;
    }
    void Str(std::string_view cp1252) {
        Comma();
        Quoted(cp1252);
    }
    void Quoted(std::string_view cp1252) {
        Out += '"';
        for (unsigned char c : Cp1252ToUtf8(cp1252)) {
            switch (c) {
                case '"':
                    Out += "\\\"";
                    break;
                case '\\':
                    Out += "\\\\";
                    break;
                case '\n':
                    Out += "\\n";
                    break;
                case '\r':
                    Out += "\\r";
                    break;
                case '\t':
                    Out += "\\t";
                    break;
                default:
                    if (c < 0x20)
                        Out += Format("\\u%04x", c);
                    else
                        Out += static_cast<char>(c);
            }
        }
        Out += '"';
    }
    void Int(long long v) {
        Comma();
        Out += IntToStr(v);
    }
    void Bool(bool v) {
        Comma();
        Out += v ? "true" : "false";
    }
    // The stored double, exactly (17 significant digits read back to the same bits).
    void Date(double v) {
        Comma();
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", v);
        Out += buf;
    }
    void List(const TRoundList& l) {
        Open('[');
        for (int32_t v : l)
            Int(v);
        Close(']');
    }
    template <class T>
    void Field(const char* k, const T& v) {
        Key(k);
        Put(v);
    }

  private:
    void Put(const std::string& v) { Str(v); }
    void Put(const char* v) { Str(v); }
    void Put(bool v) { Bool(v); }
    void Put(int32_t v) { Int(v); }
    void Put(size_t v) { Int(static_cast<long long>(v)); }
    void Put(double v) { Date(v); }
    void Put(const TRoundList& v) { List(v); }
    void Comma() {
        if (!first_) Out += ',';
        first_ = false;
    }
    bool first_ = true;
};

void DumpHeader(TJson& j, const TTourneyState& s) {
    j.Key("header");
    j.Open('{');
    j.Field("version", static_cast<int32_t>(s.TeamMode ? 10 : 9));
    j.Field("format_name", CurrentFormatName(s));
    j.Field("host_name", s.MsgParams.HostName);
    j.Field("co_host_name", s.MsgParams.CoHostName);
    j.Field("host_player_name", s.HostPlayerName);
    j.Field("co_host_player_name", s.CoHostPlayerName);
    j.Field("rules_time", s.MsgParams.RulesTime);
    j.Field("start_time", s.MsgParams.StartTime);
    j.Field("elim_format", kElimNames[static_cast<int>(s.ElimFormat) % 3]);
    j.Field("started", s.Started);
    j.Field("signup_closed", s.SignupClosed);
    j.Field("player_count", s.Players.size());
    j.Field("one_loss_final_round", s.OneLossFinalRound);
    j.Field("winners_final_round", s.WinnersFinalRound);
    j.Field("grand_final_round", s.GrandFinalRound);
    j.Field("boot_time", s.BootTime);
    j.Key("email_fields");
    j.Open('[');
    for (const auto& e : s.EmailFields)
        j.Str(e);
    j.Close(']');
    j.Field("match_points", s.MsgParams.MatchPoints);
    j.Field("time_limits", s.MsgParams.TimeLimits);
    j.Field("win_points", s.WinPoints);
    j.Field("bye_points", s.ByePoints);
    j.Field("lose_points", s.LosePoints);
    j.Field("host_points", s.HostPoints);
    j.Field("co_host_points", s.CoHostPoints);
    j.Field("unschedule_host_points", s.UnscheduleHostPoints);
    j.Field("unschedule_co_host_points", s.UnscheduleCoHostPoints);
    j.Field("win_of_win_points", s.WinOfWinPoints);
    j.Field("first_match_win_points", s.FirstMatchWinPoints);
    j.Field("unscheduled_host", s.UnscheduledHost);
    j.Field("unscheduled_co_host", s.UnscheduledCoHost);
    j.Close('}');
}

void DumpExtension(TJson& j, const TTourneyState& s) {
    j.Key("extension");
    j.Open('{');
    j.Field("lobby_name", s.LobbyName);
    j.Field("fixed_win_of_win_points", s.FixedWinOfWinPoints);
    j.Field("two_loss_final_round", s.TwoLossFinalRound);
    j.Field("one_loss_last_round", s.OneLossLastRound);
    j.Key("match_points_tiers");
    j.Open('[');
    for (const auto& row : s.MatchPointsTiers)
        j.List(row);
    j.Close(']');
    j.Field("first_place_points", s.FirstPlacePoints);
    j.Field("second_place_points", s.SecondPlacePoints);
    j.Field("third_place_points", s.ThirdPlacePoints);
    j.Field("started_at", s.StartedAt);
    j.Field("closed_at", s.ClosedAt);
    j.Field("double_player_points", s.DoublePlayerPoints);
    j.Close('}');
}

int PlayerIndex(const TTourneyState& s, const TPlayer* p) {
    if (!p) return -1;
    for (size_t i = 0; i < s.Players.size(); ++i)
        if (s.Players[i].get() == p) return static_cast<int>(i);
    return -2;  // a seat that points at no entry: shown, never expected
}

void DumpPlayers(TJson& j, const TTourneyState& s) {
    j.Key("players");
    j.Open('[');
    for (size_t i = 0; i < s.Players.size(); ++i) {
        const TPlayer& p = *s.Players[i];
        j.Open('{');
        j.Field("index", i);
        j.Field("name", p.Name);
        j.Field("player1", p.Player1);
        j.Field("player2", p.Player2);
        j.Field("boot_start", p.BootStart);
        j.Field("boot_count", p.BootCount);
        j.Field("booted_out", p.BootedOut);
        j.Field("disqualified", p.Disqualified);
        j.Field("points", p.Points);
        j.Key("stages");
        j.Open('[');
        for (int k = 0; k < MaxStages; ++k) {
            const TTableRec* t = p.Tables[k];
            if (!t) continue;
            j.Open('{');
            j.Field("stage", static_cast<int32_t>(k));
            j.Field("bracket", kBracketNames[static_cast<int>(BracketOf(*t))]);
            j.Field("round", static_cast<int32_t>(RoundOf(*t)));
            j.Field("table", static_cast<int32_t>(TableIndexOf(*t)));
            j.Field("seat", p.Seats[k]);
            j.Close('}');
        }
        j.Close(']');
        j.Close('}');
    }
    j.Close(']');
}

void DumpRound(TJson& j, const TTourneyState& s, const TRoundRec& round) {
    j.Open('{');
    j.Field("round", static_cast<int32_t>(round.Index()));
    j.Field("table_count", round.TableCount);
    j.Field("has_bye", round.HasBye);
    j.Key("tables");
    j.Open('[');
    for (int i = 0; i < std::min(round.TableCount, MaxTablesPerRound); ++i) {
        const TTableRec& t = round.Tables[i];
        j.Open('{');
        j.Field("index", static_cast<int32_t>(i));
        j.Field("table_no", t.TableNo);
        j.Field("result", t.Result);
        j.Key("seats");
        j.Open('[');
        j.Int(PlayerIndex(s, t.Seat[0]));
        j.Int(PlayerIndex(s, t.Seat[1]));
        j.Close(']');
        j.Field("start_time", t.StartTime);
        j.Field("end_time", t.EndTime);
        j.Close('}');
    }
    j.Close(']');
    j.Close('}');
}

void DumpBrackets(TJson& j, const TTourneyState& s) {
    j.Key("brackets");
    j.Open('{');
    for (int b = 0; b < s.BracketCount(); ++b) {
        j.Key(kBracketNames[b]);
        j.Open('[');
        for (const TRoundRec& round : s.Bracket(static_cast<TBracketKind>(b)))
            DumpRound(j, s, round);
        j.Close(']');
    }
    j.Close('}');
}

void DumpSession(TJson& j, const TTourneyState& s) {
    j.Field("tourney_path", s.TourneyPath);
    j.Field("team_mode", s.TeamMode);
    j.Field("title", s.Title);
    j.Field("match_points_item", static_cast<int32_t>(s.MatchPointsItem));
    j.Key("email_labels");
    j.Open('[');
    for (const auto& e : s.EmailLabels)
        j.Str(e);
    j.Close(']');
    j.Key("recent_tourneys");
    j.Open('[');
    for (const auto& e : s.Settings.RecentTourneys)
        j.Str(e);
    j.Close(']');
    j.Field("undo_count", s.UndoList.size());
    j.Field("redo_count", s.RedoList.size());
    j.Field("active_boots", s.ActiveBoots.size());
}

}  // namespace

std::string DumpTourneyJson(const TTourneyState& s, int fileVersion) {
    TJson j;
    j.Open('{');
    if (fileVersion != 0) j.Field("file_version", static_cast<int32_t>(fileVersion));
    DumpSession(j, s);
    DumpHeader(j, s);
    DumpExtension(j, s);
    DumpPlayers(j, s);
    DumpBrackets(j, s);
    j.Close('}');
    j.Out += '\n';
    return j.Out;
}

}  // namespace kestrova

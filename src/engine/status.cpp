#include "engine/status.h"

#include <algorithm>

#include "common/text.h"
#include "engine/table_count.h"
#include "engine/table_numbers.h"
#include "records/event_log.h"
#include "engine/points.h"

namespace kestrova {

const char* BracketName(TBracketKind b) {
    switch (b) {
        case TBracketKind::OneLoss: return "OneLoss";
        case TBracketKind::TwoLoss: return "TwoLoss";
        default: return "Winners";
    }
}

int GetRoundIndex(const TTourneyState& s, int r, TBracketKind b) {
    switch (b) {
        case TBracketKind::Winners:
            if (r >= s.GrandFinalRound) return 14;
            if (s.ElimFormat == TElimFormat::Single && r == s.WinnersFinalRound) return 13;
            break;
        case TBracketKind::OneLoss:
            if (s.ElimFormat == TElimFormat::Double && r == s.OneLossFinalRound) return 13;
            if (s.ElimFormat == TElimFormat::Triple && r >= s.OneLossLastRound) return 13;
            break;
        case TBracketKind::TwoLoss:
            break;
    }
    return std::clamp(r, 0, 14);
}

std::string RoundLabel(const TTourneyState& s, int r, TBracketKind b) {
    const bool single = s.ElimFormat == TElimFormat::Single;
    switch (b) {
        case TBracketKind::Winners:
            if (r == s.GrandFinalRound) return "GF";
            if (r == s.WinnersFinalRound) return single ? "SF" : "WF";
            break;
        case TBracketKind::OneLoss:
            if (s.ElimFormat == TElimFormat::Triple && r == s.OneLossLastRound) return "SF";
            if (r == s.OneLossFinalRound) return s.ElimFormat == TElimFormat::Triple ? "QF" : "SF";
            break;
        case TBracketKind::TwoLoss:
            if (r == s.TwoLossFinalRound) return "QF";
            break;
    }
    return IntToStr(r + 1);
}

std::string RoundName(const TTourneyState& s, int r, TBracketKind b) {
    const bool single = s.ElimFormat == TElimFormat::Single;
    switch (b) {
        case TBracketKind::Winners:
            if (r == s.GrandFinalRound) return "the FINALS";
            if (r == s.WinnersFinalRound) return single ? "the SEMI-FINALS" : "the WINNER'S FINALS";
            break;
        case TBracketKind::OneLoss:
            if (s.ElimFormat == TElimFormat::Triple && r == s.OneLossLastRound)
                return "the SEMI-FINALS";
            if (r == s.OneLossFinalRound)
                return s.ElimFormat == TElimFormat::Triple ? "the QUARTER FINALS"
                                                           : "the SEMI-FINALS";
            break;
        case TBracketKind::TwoLoss:
            if (r == s.TwoLossFinalRound) return "the QUARTER FINALS";
            break;
    }
    return Format("Round %d", r + 1);
}

namespace {
std::string Numbered(const TRoundRec& round) {
    return round.HasBye ? Format("%d *", round.RoundNumber) : IntToStr(round.RoundNumber);
}
}  // namespace

void UpdateBracketTabs(TTourneyState& s) {
    WriteLog(s, "    -> UpdateBracketTabs");
    auto& w = s.TabCaptions[0];
    auto& o = s.TabCaptions[1];
    auto& t = s.TabCaptions[2];
    w.clear();
    o.clear();
    t.clear();
    const bool single = s.ElimFormat == TElimFormat::Single;
    const bool triple = s.ElimFormat == TElimFormat::Triple;
    for (int r = 0; r < s.WinnersFinalRound && r < MaxRounds; ++r) w.push_back(Numbered(s.Winners[r]));
    if (s.WinnersFinalRound >= 0 && s.WinnersFinalRound < MaxRounds) {
        if (single) w.push_back(s.Winners[s.WinnersFinalRound].HasBye ? "SF *" : "SF");
        else w.push_back("WF");
    }
    w.push_back("GF");
    if (!single) {
        for (int r = 1; r < s.OneLossFinalRound && r < MaxRounds; ++r)
            o.push_back(Numbered(s.OneLoss[r]));
        if (triple) o.push_back("QF");
        o.push_back("SF");
    }
    if (triple) {
        for (int r = 2; r < s.TwoLossFinalRound && r < MaxRounds; ++r)
            t.push_back(Numbered(s.TwoLoss[r]));
        t.push_back("QF");
    }
    for (int b = 0; b < 3; ++b) {
        int last = static_cast<int>(s.TabCaptions[b].size()) - 1;
        s.SelectedTab[b] = std::clamp(s.SelectedTab[b], 0, std::max(last, 0));
    }
    NumberFinalTables(s);
    s.View().TabsChanged();
    for (int b = 0; b < s.BracketCount(); ++b)
        s.View().RedrawRound(static_cast<TBracketKind>(b), s.SelectedTab[b] + b);
}

bool IsStillIn(const TPlayer& p) {
    if (p.Disqualified) return false;
    // Every stage counts: in a large triple field the two-loss champion
    // crosses into the one-loss last table at a stage past the thirteenth.
    for (int k = MaxStages - 1; k >= 0; --k)
        if (p.Tables[k]) return p.Tables[k]->Result == 0;
    return false;
}

int CountStillIn(const TTourneyState& s) {
    int n = 0;
    for (const auto& p : s.Players)
        if (IsStillIn(*p)) ++n;
    return n;
}

std::string CountLabelText(const TTourneyState& s) {
    // "Players: %d/%d" or "Teams: %d/%d"; built by hand, it runs after every result.
    std::string text = s.TeamMode ? "Teams: " : "Players: ";
    text += std::to_string(CountStillIn(s));
    text += '/';
    text += std::to_string(s.Players.size());
    return text;
}

void UpdatePlayerState(TTourneyState& s) {
    WriteLog(s, "    -> UpdatePlayerState");
    ComputePlayerPoints(s);
    s.View().CountLabelChanged(CountLabelText(s));
    s.View().PlayerPointsChanged();
}

namespace {
const char* BracketStatus(TBracketKind b) {
    switch (b) {
        case TBracketKind::OneLoss: return "OL";
        case TBracketKind::TwoLoss: return "TL";
        default: return "W";
    }
}
}  // namespace

void FindPlayer(TTourneyState& s, const std::string& boxText) {
    s.FoundStatus.clear();
    s.FindText = UpperCase(Trim(boxText));
    int number = 0;
    s.FoundTableNo = TryStrToInt(s.FindText, number) ? number : 0;
    if (s.FoundTableNo >= 1 && s.FoundTableNo <= s.RoomTableCount) s.FindText.clear();
    for (int b = 0; b < s.BracketCount(); ++b)
        s.View().RedrawRound(static_cast<TBracketKind>(b), s.SelectedTab[b] + b);
    if (!s.FindText.empty()) {
        s.FoundTableNo = 0;
        TPlayer* found = nullptr;
        for (auto& p : s.Players)
            if (UpperCase(p->Name).find(s.FindText) != std::string::npos) {
                found = p.get();
                break;
            }
        if (found) {
            TTableRec* t = found->CurrentTable();
            if (t && t->Result == 0) {
                s.FoundTableNo = t->TableNo;
                s.FoundStatus = Format(" %s %s / %d", BracketStatus(BracketOf(*t)),
                                       RoundLabel(s, RoundOf(*t), BracketOf(*t)).c_str(), t->TableNo);
            } else if (t) {
                s.FoundStatus = "Out";
            }
        }
    }
    s.View().FindStatusChanged(s.FoundStatus);
}

void LocateTable(TTourneyState& s) {
    for (int b = 0; b < s.BracketCount(); ++b) {
        TBracketKind kind = static_cast<TBracketKind>(b);
        TBracket& br = s.Bracket(kind);
        for (int r = 0; r < MaxRounds; ++r) {
            for (int i = 0; i < std::min(br[r].TableCount, MaxTablesPerRound); ++i) {
                const TTableRec& t = br[r].Tables[i];
                if (t.TableNo != s.FoundTableNo || t.Result != 0 || t.Empty()) continue;
                int tab = r - FirstRoundOf(kind);
                if (tab >= 0) s.SelectedTab[b] = tab;
                s.View().SelectRound(kind, r);
                s.View().ScrollToTable(kind, r, i);
                return;
            }
        }
    }
}

bool HadByeBefore(const TPlayer& p, int beforeStage) {
    for (int k = 0; k < beforeStage && k < MaxStages; ++k) {
        const TTableRec* t = p.Tables[k];
        if (!t || (t->Result != 1 && t->Result != 2)) continue;
        int seat = p.Seats[k];
        if (t->Result - 1 == seat && !t->Seat[1 - seat]) return true;
    }
    return false;
}

TNameHighlight NameBoxStatus(const TTourneyState& s, const TTableRec& table, int seat) {
    const TPlayer* p = table.Seat[seat];
    if (!p) return TNameHighlight::None;
    const bool open = table.Result == 0;
    if (!s.FindText.empty()) {
        bool match = s.SignupClosed ? UpperCase(p->Name).find(s.FindText) != std::string::npos
                                    : SameText(p->Name, s.FindText);
        if (match) return open ? TNameHighlight::FoundOpen : TNameHighlight::FoundDecided;
    }
    if (p->Disqualified) return TNameHighlight::Disqualified;
    if (p->BootedOut) return TNameHighlight::BootedOut;
    if (open) {
        int stage = -1;
        for (int k = 0; k < MaxStages; ++k)
            if (p->Tables[k] == &table) stage = k;
        if (stage > 0 && HadByeBefore(*p, stage)) return TNameHighlight::HadBye;
    }
    return TNameHighlight::None;
}

}  // namespace kestrova

#include "formats/messages.h"

#include <chrono>
#include <ctime>

#include "common/datetime.h"
#include "common/text.h"
#include "formats/format_store.h"
#include "lobby/post_to_lobby.h"

namespace kestrova {

namespace {
TDateTime SystemUtcNow() {
    std::time_t t = std::time(nullptr);
    std::tm gt{};
    gmtime_r(&t, &gt);
    return EncodeDateTime(gt.tm_year + 1900, gt.tm_mon + 1, gt.tm_mday, gt.tm_hour, gt.tm_min,
                          gt.tm_sec);
}

TDateTime UtcNow(TTourneyState& s) { return s.Ports.Clock ? s.Ports.Clock->UtcNow() : SystemUtcNow(); }

// Local time minus a zone's bias in minutes.
TDateTime ZoneTime(TTourneyState& s, double biasMinutes) { return s.Now() - biasMinutes / 1440.0; }

const TTableRec* FirstTable(const TBracket& bracket, int round) {
    if (round < 0 || round >= MaxRounds) return nullptr;
    return &bracket[static_cast<size_t>(round)].Tables[0];
}

std::string NameOf(const TPlayer* p) { return p ? p->Name : std::string(); }

std::string FirstPlace(const TTourneyState& s) {
    const TTableRec* t = FirstTable(s.Winners, s.GrandFinalRound);
    return t ? NameOf(t->Winner()) : std::string();
}

std::string SecondPlace(const TTourneyState& s) {
    const TTableRec* t = FirstTable(s.Winners, s.GrandFinalRound);
    return t ? NameOf(t->Loser()) : std::string();
}

std::string ThirdPlace(const TTourneyState& s) {
    if (s.ElimFormat == TElimFormat::Double) {
        const TTableRec* t = FirstTable(s.OneLoss, s.OneLossFinalRound);
        return t ? NameOf(t->Loser()) : std::string();
    }
    if (s.ElimFormat == TElimFormat::Triple) {
        const TTableRec* t = FirstTable(s.OneLoss, s.OneLossLastRound);
        return t ? NameOf(t->Loser()) : std::string();
    }
    // Single: the losers of the two semi-finals, the first table's first.
    const TTableRec* semi = FirstTable(s.Winners, s.WinnersFinalRound);
    if (!semi) return {};
    std::string a = NameOf(semi[0].Loser());
    std::string b = NameOf(semi[1].Loser());
    if (!a.empty() && !b.empty()) return a + " and " + b;
    return a.empty() ? b : a;
}

std::string PerRound(const TRoundList& list, int roundIndex) {
    if (roundIndex < 0 || roundIndex >= RoundIndexCount) return {};
    return Format("%d", list[static_cast<size_t>(roundIndex)]);
}

std::string BootClock(int32_t seconds) {
    return Format("%d:%.2d", seconds / 60, seconds % 60);
}

std::string ShortTime(TTourneyState& s, TDateTime t) { return FormatDateTime("t", t, s.Locale); }
std::string ShortDate(TTourneyState& s, TDateTime t) {
    return FormatDateTime(s.Locale.ShortDatePattern, t, s.Locale);
}

// Appends the text of token x (upper-cased); false when x names no token.
bool AppendToken(TTourneyState& s, const TMsgParams& m, char x, std::string& out) {
    switch (x) {
        case 'P': out += s.CapNames ? UpperCase(m.PlayerName) : m.PlayerName; return true;
        case 'O': out += s.CapNames ? UpperCase(m.OpponentName) : m.OpponentName; return true;
        case 'T': out += Format("%d", m.TableNo); return true;
        case 'R': out += MessageRoundName(s, m.RoundIndex, m.TableNo); return true;
        case 'M': out += PerRound(m.MatchPoints, m.RoundIndex); return true;
        case 'F': out += PerRound(m.MatchPoints, 14); return true;
        case 'D': out += PerRound(m.TimeLimits, m.RoundIndex); return true;
        case 'B': out += BootClock(m.BootSecondsLeft); return true;
        case 'X': out += Format("%d", m.MinutesLeft); return true;
        case 'S': out += m.StartTime; return true;
        case 'U': out += m.RulesTime; return true;
        case 'H': out += m.HostName; return true;
        case 'K': out += m.CoHostName; return true;
        case 'N': out += FormatDateTime(":nn", s.Now(), s.Locale); return true;
        case 'L': out += ShortTime(s, s.Now()); return true;
        case 'G': out += ShortTime(s, UtcNow(s)); return true;
        case 'E': out += ShortTime(s, ZoneTime(s, s.MiddleZoneBias)); return true;
        case 'W': out += ShortTime(s, ZoneTime(s, s.RightZoneBias)); return true;
        case '<': out += ShortDate(s, ZoneTime(s, s.MiddleZoneBias)); return true;
        case '>': out += ShortDate(s, ZoneTime(s, s.RightZoneBias)); return true;
        case '?': out += CurrentFormatName(s); return true;
        case 'C': out += "\r\n"; return true;
        case '1': out += FirstPlace(s); return true;
        case '2': out += SecondPlace(s); return true;
        case '3': out += ThirdPlace(s); return true;
        case '!':
            // The no-autopost mark counts only at the very start of the text.
            if (out.empty()) out += "%!";
            return true;
        default: return false;
    }
}
}  // namespace

std::string MessageRoundName(const TTourneyState& s, int roundIndex, int tableNo) {
    if (roundIndex == 13) return "the SEMI-FINALS";
    if (roundIndex == 14) return "the FINALS";
    if (s.ElimFormat == TElimFormat::Double) {
        if (roundIndex == s.WinnersFinalRound && tableNo % 2 == 0) return "the WINNER'S FINALS";
    } else if (s.ElimFormat == TElimFormat::Triple) {
        switch (tableNo % 4) {
            case 1:
                if (roundIndex == s.WinnersFinalRound) return "the WINNER'S FINALS";
                break;
            case 2:
                if (roundIndex == s.OneLossFinalRound) return "the QUARTER FINALS";
                break;
            case 3:
                if (roundIndex == s.TwoLossFinalRound) return "the QUARTER FINALS";
                break;
        }
    }
    return Format("Round %d", roundIndex + 1);
}

std::string ExpandMessage(TTourneyState& s, std::string_view text, const TMsgParams& params) {
    std::string out;
    out.reserve(text.size());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        size_t pct = text.find('%', i);
        if (pct == std::string_view::npos || pct + 1 == n) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, pct - i));
        if (AppendToken(s, params, UpperChar(text[pct + 1]), out)) {
            i = pct + 2;
        } else {
            // Not a token: the "%" stays and the scan goes on after it.
            out += '%';
            i = pct + 1;
        }
    }
    return out;
}

std::vector<std::string> SplitTemplateLines(std::string_view text) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%' && (text[i + 1] == 'c' || text[i + 1] == 'C')) {
            pieces.emplace_back(text.substr(start, i - start));
            start = i + 2;
            ++i;
        }
    }
    pieces.emplace_back(text.substr(start));
    return pieces;
}

void PostMessageKind(TTourneyState& s, const std::string& text, bool automatic) {
    // Cut before expanding, so that a "%c" inside an inserted name never splits.
    const std::vector<std::string> lines = SplitTemplateLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        PostToLobby(s, ExpandMessage(s, lines[i], s.MsgParams), automatic);
        if (i + 1 == lines.size()) break;
        // Without a chat window, or in preview, only the first line is handled:
        // the host pastes or sends it by hand.
        if (!s.Lobby().HasChatWindow() || s.Settings.AutoPostPreview) break;
    }
}

void TTemplateAnnouncer::Post(TTourneyState& s, TMessageKind kind, bool automatic) {
    int k = static_cast<int>(kind);
    if (k < 0 || k >= MessageKindCount) return;
    PostMessageKind(s, s.Messages[static_cast<size_t>(k)], automatic);
}

}  // namespace kestrova

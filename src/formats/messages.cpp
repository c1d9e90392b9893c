#include "formats/messages.h"

#include "common/datetime.h"
#include "common/system_clock.h"
#include "common/text.h"
#include "formats/post_to_lobby.h"

namespace kestrova {

namespace {
TDateTime UtcNow(TTourneyState& s) {
    return s.Ports.Clock ? s.Ports.Clock->UtcNow() : SystemUtcNow();
}

// Local time minus a zone's bias in minutes.
TDateTime ZoneTime(TTourneyState& s, double biasMinutes) {
    return s.Now() - biasMinutes / 1440.0;
}

const TTableRec* FirstTable(const TBracket& bracket, int round) {
    if (round < 0 || round >= MaxRounds) return nullptr;
    return &bracket[static_cast<size_t>(round)].Tables[0];
}

std::string NameOf(const TPlayer* p) {
    return p ? p->Name : std::string();
}

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

std::string ShortTime(TTourneyState& s, TDateTime t) {
    return FormatDateTime("t", t, s.Locale);
}
std::string ShortDate(TTourneyState& s, TDateTime t) {
    return FormatDateTime(s.Locale.ShortDatePattern, t, s.Locale);
}

bool Put(std::string& out, std::string_view text) {
    out += text;
    return true;
}

// Tokens filled from the parameters of the posting.
bool AppendParamToken(TTourneyState& s, const TMsgParams& m, char x, std::string& out) {
    switch (x) {
        case 'P':
            return Put(out, s.CapNames ? UpperCase(m.PlayerName) : m.PlayerName);
        case 'O':
            return Put(out, s.CapNames ? UpperCase(m.OpponentName) : m.OpponentName);
        case 'T':
            return Put(out, Format("%d", m.TableNo));
        case 'R':
            return Put(out, MessageRoundName(s, m.RoundIndex, m.TableNo));
        case 'M':
            return Put(out, PerRound(m.MatchPoints, m.RoundIndex));
        case 'F':
            return Put(out, PerRound(m.MatchPoints, 14));
        case 'D':
            return Put(out, PerRound(m.TimeLimits, m.RoundIndex));
        case 'B':
            return Put(out, BootClock(m.BootSecondsLeft));
        case 'X':
            return Put(out, Format("%d", m.MinutesLeft));
        case 'S':
            return Put(out, m.StartTime);
        case 'U':
            return Put(out, m.RulesTime);
        case 'H':
            return Put(out, m.HostName);
        case 'K':
            return Put(out, m.CoHostName);
        default:
            return false;
    }
}

// Tokens filled from the clock, the format and the bracket.
bool AppendStateToken(TTourneyState& s, char x, std::string& out) {
    switch (x) {
        case 'N':
            return Put(out, FormatDateTime(":nn", s.Now(), s.Locale));
        case 'L':
            return Put(out, ShortTime(s, s.Now()));
        case 'G':
            return Put(out, ShortTime(s, UtcNow(s)));
        case 'E':
            return Put(out, ShortTime(s, ZoneTime(s, s.MiddleZoneBias)));
        case 'W':
            return Put(out, ShortTime(s, ZoneTime(s, s.RightZoneBias)));
        case '<':
            return Put(out, ShortDate(s, ZoneTime(s, s.MiddleZoneBias)));
        case '>':
            return Put(out, ShortDate(s, ZoneTime(s, s.RightZoneBias)));
        case '?':
            return Put(out, CurrentFormatName(s));
        case 'C':
            return Put(out, "\r\n");
        case '1':
            return Put(out, FirstPlace(s));
        case '2':
            return Put(out, SecondPlace(s));
        case '3':
            return Put(out, ThirdPlace(s));
        case '!':
            // The no-autopost mark counts only at the very start of the text.
            return Put(out, out.empty() ? "%!" : "");
        default:
            return false;
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
    return Format("Round %lld", static_cast<long long>(roundIndex) + 1);
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
        const char x = UpperChar(text[pct + 1]);
        if (AppendParamToken(s, params, x, out) || AppendStateToken(s, x, out)) {
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

TFinalPlaces FinalPlaces(const TTourneyState& s) {
    if (!s.SignupClosed || s.GrandFinalRound <= 0 || FirstPlace(s).empty()) return {};
    return {FirstPlace(s), SecondPlace(s), ThirdPlace(s)};
}

void PostMessageKind(TTourneyState& s, const std::string& text, bool automatic) {
    // Cut before expanding, so that a "%c" inside an inserted name never splits.
    std::vector<std::string> lines = SplitTemplateLines(text);
    for (std::string& line : lines)
        line = ExpandMessage(s, line, s.MsgParams);
    TPostResult first = TPostResult::ClipboardOnly;
    if (!ChatInputKnown(s)) {
        // The host pastes it by hand: the whole text goes onto the clipboard.
        first = PostLinesToClipboard(s, lines);
    } else {
        for (size_t i = 0; i < lines.size(); ++i) {
            const TPostResult r = PostToLobby(s, lines[i], automatic);
            if (i == 0) first = r;
            // In preview only the first line is handled: the host sends it.
            if (s.Settings.AutoPostPreview) {
                lines.resize(1);
                break;
            }
        }
    }
    s.View().StatusMessage(PostingStatus(first, lines));
}

void TTemplateAnnouncer::Post(TTourneyState& s, TMessageKind kind, bool automatic) {
    int k = static_cast<int>(kind);
    if (k < 0 || k >= MessageKindCount) return;
    PostMessageKind(s, s.Messages[static_cast<size_t>(k)], automatic);
}

}  // namespace kestrova

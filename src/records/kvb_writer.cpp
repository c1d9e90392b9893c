#include "records/kvb_writer.h"

#include <algorithm>
#include <unordered_map>

#include "records/kvb_layout.h"

namespace kestrova::kvb {

namespace {

using TPlayerIndex = std::unordered_map<const TPlayer*, int32_t>;

void WriteHeader(TByteWriter& out, const TTourneyState& s) {
    std::string sig(SignaturePrefix);
    sig.push_back(static_cast<char>(s.TeamMode ? VersionTeam : VersionSingle));
    out.Raw(sig);
    out.Text(CurrentFormatName(s), hdr::FormatNameSize);
    out.Text(s.MsgParams.HostName, hdr::HostTextSize);
    out.Text(s.MsgParams.CoHostName, hdr::HostTextSize);
    out.Text(s.HostPlayerName, hdr::HostTextSize);
    out.Text(s.CoHostPlayerName, hdr::HostTextSize);
    out.Text(s.MsgParams.RulesTime, hdr::TimeTextSize);
    out.Text(s.MsgParams.StartTime, hdr::TimeTextSize);
    out.Int(static_cast<int32_t>(s.ElimFormat));
    out.Bool(s.Started);
    out.Bool(s.SignupClosed);
    out.Int(static_cast<int32_t>(s.Players.size()));
    out.Int(s.OneLossFinalRound);
    out.Int(s.WinnersFinalRound);
    out.Int(s.GrandFinalRound);
    out.Int(s.BootTime);
    for (const auto& e : s.EmailFields)
        out.Text(e, hdr::EmailSize);
    for (const TRoundList* l : {&s.MsgParams.MatchPoints, &s.MsgParams.TimeLimits, &s.WinPoints,
                                &s.ByePoints, &s.LosePoints})
        out.Text(ListText(*l), ListTextSize);
    for (int32_t v : {s.HostPoints, s.CoHostPoints, s.UnscheduleHostPoints,
                      s.UnscheduleCoHostPoints, s.WinOfWinPoints, s.FirstMatchWinPoints})
        out.Int(v);
    out.Bool(s.UnscheduledHost);
    out.Bool(s.UnscheduledCoHost);
}

void WriteExtension(TByteWriter& out, const TTourneyState& s) {
    out.Text(s.LobbyName, ext::LobbyNameSize);
    out.Int(s.FixedWinOfWinPoints);
    out.Int(s.TwoLossFinalRound);
    out.Int(s.OneLossLastRound);
    for (const auto& row : s.MatchPointsTiers)
        out.Text(ListText(row), ListTextSize);
    out.Int(s.FirstPlacePoints);
    out.Int(s.SecondPlacePoints);
    out.Int(s.ThirdPlacePoints);
    out.Date(s.StartedAt);
    out.Date(s.ClosedAt);
    out.Bool(s.DoublePlayerPoints);
}

void WritePlayer(TByteWriter& out, const TPlayer& p, bool team) {
    if (team) {
        out.Text(p.Name, 32);
        out.Text(p.Player1, 16);
        out.Text(p.Player2, 16);
    } else {
        out.Text(p.Name, 16);
    }
    out.Date(p.BootStart);
    out.Int(p.BootCount);
    out.Bool(p.BootedOut);
    out.Bool(p.Disqualified);
    out.Zeros(4);
}

int32_t IndexOf(const TPlayerIndex& index, const TPlayer* p) {
    if (!p) return -1;
    auto it = index.find(p);
    return it == index.end() ? -1 : it->second;
}

void WriteRounds(TByteWriter& out, const TBracket& bracket, int last, const TPlayerIndex& index) {
    for (int r = 0; r <= last && r < MaxRounds; ++r) {
        const TRoundRec& round = bracket[r];
        const int count = std::clamp(round.TableCount, 0, MaxTablesPerRound);
        out.Int(round.RoundNumber);
        out.Int(count);
        out.Bool(round.HasBye);
        for (int i = 0; i < count; ++i) {
            const TTableRec& t = round.Tables[i];
            out.Int(t.TableNo);
            out.Int(t.Result);
            out.Int(IndexOf(index, t.Seat[0]));
            out.Int(IndexOf(index, t.Seat[1]));
            out.Date(t.StartTime);
            out.Date(t.EndTime);
        }
    }
}

// The numbers taken out of use: seating must still skip them after a reopen.
void WriteOwnBlock(TByteWriter& out, const TTourneyState& s) {
    if (s.VoidTables.empty()) return;
    const auto count = static_cast<int32_t>(std::min<size_t>(s.VoidTables.size(), own::MaxVoidTables));
    out.Raw(own::Tag);
    out.Int(count);
    for (int32_t i = 0; i < count; ++i) out.Int(s.VoidTables[static_cast<size_t>(i)]);
}

}  // namespace

std::string EncodeTourney(const TTourneyState& s) {
    std::string bytes;
    bytes.reserve(MainHeaderSize + ExtensionSize + s.Players.size() * TeamPlayerSize +
                  3 * MaxRounds * (RoundHeaderSize + 16 * TableRecordSize));
    TByteWriter out(bytes);
    WriteHeader(out, s);
    WriteExtension(out, s);
    TPlayerIndex index;
    index.reserve(s.Players.size());
    for (size_t i = 0; i < s.Players.size(); ++i) {
        index.emplace(s.Players[i].get(), static_cast<int32_t>(i));
        WritePlayer(out, *s.Players[i], s.TeamMode);
    }
    WriteRounds(out, s.Winners, s.GrandFinalRound, index);
    if (s.ElimFormat == TElimFormat::Double)
        WriteRounds(out, s.OneLoss, s.OneLossFinalRound, index);
    if (s.ElimFormat == TElimFormat::Triple) {
        WriteRounds(out, s.OneLoss, s.OneLossLastRound, index);
        WriteRounds(out, s.TwoLoss, s.TwoLossFinalRound, index);
    }
    WriteOwnBlock(out, s);
    return bytes;
}

}  // namespace kestrova::kvb

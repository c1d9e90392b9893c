#include "records/kvb_reader.h"

#include <algorithm>

#include "records/kvb_layout.h"

namespace kestrova::kvb {

namespace {

constexpr int Winners = 0, OneLoss = 1, TwoLoss = 2;
constexpr int SeatBound[3] = {64, 32, 24};  // tables a round of each bracket may hold

void Require(bool ok) {
    if (!ok) throw TKvbReject();
}

int32_t Marker(TByteReader& in) {
    int32_t v = in.Int();
    Require(v >= 0 && v < MaxRounds);
    return v;
}

// Version 8 and the older layout knew no triple elimination: any value but
// Single there means Double, whatever the number stored. Versions 7, 9 and 10
// keep the value as it is, and only 0, 1 and 2 are formats.
int32_t ElimFormatOf(int version, int32_t stored) {
    const bool doubleOrSingle = version == 8 || version <= 6;
    const int32_t elim = doubleOrSingle && stored != 0 ? 1 : stored;
    Require(elim >= 0 && elim <= 2);
    return elim;
}

TRoundList List(TByteReader& in) {
    return ParseListText(in.Text(ListTextSize));
}

TKvbPlayer ReadSinglePlayer(TByteReader& in, bool withFlags) {
    TKvbPlayer p;
    p.Name = in.Text(16);
    p.BootStart = in.Date();
    p.BootCount = in.Int();
    if (withFlags) {
        p.BootedOut = in.Bool();
        p.Disqualified = in.Bool();
    }
    in.Skip(4);
    return p;
}

TKvbPlayer ReadTeamPlayer(TByteReader& in) {
    TKvbPlayer p;
    p.Name = in.Text(32);
    p.Player1 = in.Text(16);
    p.Player2 = in.Text(16);
    p.BootStart = in.Date();
    p.BootCount = in.Int();
    p.BootedOut = in.Bool();
    p.Disqualified = in.Bool();
    in.Skip(4);
    return p;
}

TKvbTable ReadTable(TByteReader& in, int playerCount) {
    TKvbTable t;
    t.TableNo = in.Int();
    t.Result = in.Int();
    Require(t.Result >= 0 && t.Result <= 4);
    for (int32_t& seat : t.Seat) {
        seat = in.Int();
        Require(seat >= -1 && seat < playerCount);
    }
    t.StartTime = in.Date();
    t.EndTime = in.Date();
    return t;
}

// A table record past the round's table count (older layout): the program
// that wrote it never read more than its number, so a seat, result or time
// left there from earlier play is not looked at.
TKvbTable ReadUnusedTable(TByteReader& in) {
    TKvbTable t;
    t.TableNo = in.Int();
    in.Skip(TableRecordSize - 4);
    return t;
}

// A round header and its tables. The older layout always stores 64 table
// records; only the first TableCount of them are in use and kept in full.
TKvbRound ReadRound(TByteReader& in, int bracket, int playerCount, bool allTables) {
    TKvbRound r;
    r.RoundNumber = in.Int();
    r.TableCount = in.Int();
    r.HasBye = in.Bool();
    Require(r.TableCount >= 0 && r.TableCount <= SeatBound[bracket]);
    // The bye table is the last one in use; a bye in a round without tables
    // would make every later count look one table before the round.
    Require(!r.HasBye || r.TableCount > 0);
    const int stored = allTables ? MaxTablesPerRound : r.TableCount;
    r.Tables.reserve(static_cast<size_t>(stored));
    for (int i = 0; i < stored; ++i)
        r.Tables.push_back(i < r.TableCount ? ReadTable(in, playerCount) : ReadUnusedTable(in));
    return r;
}

void ReadRounds(TByteReader& in, TKvbFile& f, int bracket, int last, bool allTables) {
    for (int r = 0; r <= last; ++r)
        f.Rounds[bracket].push_back(
            ReadRound(in, bracket, static_cast<int>(f.Players.size()), allTables));
}

// --- Versions 7 to 10

void ReadMainHeader(TByteReader& in, TKvbFile& f) {
    in.Seek(hdr::FormatName);
    f.FormatName = in.Text(hdr::FormatNameSize);
    f.HostName = in.Text(hdr::HostTextSize);
    f.CoHostName = in.Text(hdr::HostTextSize);
    f.HostPlayerName = in.Text(hdr::HostTextSize);
    f.CoHostPlayerName = in.Text(hdr::HostTextSize);
    f.RulesTime = in.Text(hdr::TimeTextSize);
    f.StartTime = in.Text(hdr::TimeTextSize);
    f.ElimFormat = ElimFormatOf(f.Version, in.Int());
    f.Started = in.Bool();
    f.SignupClosed = in.Bool();
    const int32_t n = in.Int();
    Require(n >= 0 && n <= MaxPlayers);
    f.Players.resize(static_cast<size_t>(n));
    f.OneLossFinalRound = Marker(in);
    // A single-elimination tournament whose every first-round match was
    // abandoned has its semi-final marker at -1; the program writes that, so it reads it.
    f.WinnersFinalRound = in.Int();
    Require(f.WinnersFinalRound >= (f.ElimFormat == 0 ? -1 : 0) && f.WinnersFinalRound < MaxRounds);
    f.GrandFinalRound = Marker(in);
    f.BootTime = in.Int();
    for (auto& e : f.Email)
        e = in.Text(hdr::EmailSize);
    f.MatchPoints = List(in);
    f.TimeLimits = List(in);
    f.WinPoints = List(in);
    f.ByePoints = List(in);
    f.LosePoints = List(in);
    f.HostPoints = in.Int();
    f.CoHostPoints = in.Int();
    f.UnscheduleHostPoints = in.Int();
    f.UnscheduleCoHostPoints = in.Int();
    f.WinOfWinPoints = in.Int();
    f.FirstMatchWinPoints = in.Int();
    f.UnscheduledHost = in.Bool();
    f.UnscheduledCoHost = in.Bool();
}

void ReadExtension(TByteReader& in, TKvbFile& f, bool full) {
    f.LobbyName = in.Text(ext::LobbyNameSize);
    f.FixedWinOfWinPoints = in.Int();
    if (!full) return;
    f.TwoLossFinalRound = Marker(in);
    f.OneLossLastRound = Marker(in);
    for (auto& row : f.Tiers)
        row = List(in);
    f.FirstPlacePoints = in.Int();
    f.SecondPlacePoints = in.Int();
    f.ThirdPlacePoints = in.Int();
    f.StartedAt = in.Date();
    f.ClosedAt = in.Date();
    f.DoublePlayerPoints = in.Bool();
}

// This program's own block after the rounds, when it is there. Bytes that
// do not start with its tag are left alone: another writer's, or none.
void ReadOwnBlock(TByteReader& in, TKvbFile& f) {
    const std::string_view rest = in.Data().substr(in.Pos());
    if (rest.substr(0, own::Tag.size()) != own::Tag) return;
    in.Skip(own::Tag.size());
    const int32_t count = in.Int();
    Require(count >= 0 && count <= own::MaxVoidTables);
    f.VoidTables.resize(static_cast<size_t>(count));
    for (int32_t& no : f.VoidTables) no = in.Int();
}

void ReadCurrentLayout(TByteReader& in, TKvbFile& f) {
    ReadMainHeader(in, f);
    const int v = f.Version;
    if (v >= 9) {
        ReadExtension(in, f, true);
    } else {
        if (v == 8) ReadExtension(in, f, false);
        for (auto& row : f.Tiers)
            row = f.MatchPoints;
    }
    for (auto& p : f.Players)
        p = v == 10 ? ReadTeamPlayer(in) : ReadSinglePlayer(in, true);

    const bool triple = f.ElimFormat == 2;
    // The ranges read are set by the markers; a marker that names a round the
    // file does not hold would send the program past the bracket. A version 7
    // file has no OneLossLastRound (it reads as 0, so a triple-elimination
    // file holds only the first one-loss and two-loss rounds), and there the
    // one-loss final is not held to it.
    Require(f.WinnersFinalRound <= f.GrandFinalRound);
    if (triple && v >= 9) Require(f.OneLossFinalRound <= f.OneLossLastRound);
    ReadRounds(in, f, Winners, f.GrandFinalRound, false);
    if (f.ElimFormat == 1) ReadRounds(in, f, OneLoss, f.OneLossFinalRound, false);
    if (triple) {
        ReadRounds(in, f, OneLoss, f.OneLossLastRound, false);
        ReadRounds(in, f, TwoLoss, f.TwoLossFinalRound, false);
    }
    ReadOwnBlock(in, f);
}

// --- Versions 3 to 6

void ReadOldList(TByteReader& in, int32_t (&values)[old::ListValues]) {
    for (int32_t& v : values)
        v = in.Int();
}

void ReadOldLayout(TByteReader& in, TKvbFile& f) {
    const int v = f.Version;
    in.Seek(old::FormatName);
    f.FormatName = in.Text(old::FormatNameSize);
    f.HostName = in.Text(hdr::HostTextSize);
    f.CoHostName = in.Text(hdr::HostTextSize);
    f.HostPlayerName = in.Text(hdr::HostTextSize);
    f.CoHostPlayerName = in.Text(hdr::HostTextSize);
    f.RulesTime = in.Text(hdr::TimeTextSize);
    f.StartTime = in.Text(hdr::TimeTextSize);
    int32_t points[old::ListValues];
    ReadOldList(in, points);
    for (int32_t p : points)
        Require(p >= old::MinMatchPoints && p <= old::MaxMatchPoints);
    f.MatchPoints = WidenOldList(points);
    for (auto& row : f.Tiers)
        row = f.MatchPoints;
    f.ElimFormat = ElimFormatOf(v, in.Int());
    f.Started = in.Bool();
    f.SignupClosed = in.Bool();
    const int32_t n = in.Int();
    Require(n >= 0 && n <= MaxPlayers);
    f.Players.resize(static_cast<size_t>(n));
    f.OneLossFinalRound = in.Int();
    f.WinnersFinalRound = in.Int();
    f.GrandFinalRound = in.Int();
    // Only rounds 0 to 10 are stored in these files.
    for (int32_t m : {f.OneLossFinalRound, f.WinnersFinalRound, f.GrandFinalRound})
        Require(m >= 0 && m < old::Rounds);
    Require(f.WinnersFinalRound <= f.GrandFinalRound);
    f.Email[0] = in.Text(hdr::EmailSize);
    f.Email[1] = in.Text(hdr::EmailSize);
    f.BootTime = old::DefaultBootTime;
    f.HasTimeLimits = v >= 5;
    f.HasPoints = v >= 6;
    if (v >= 5) {
        f.Email[2] = in.Text(hdr::EmailSize);
        f.Email[3] = in.Text(hdr::EmailSize);
        f.BootTime = in.Int();
        ReadOldList(in, points);
        f.TimeLimits = WidenOldList(points);
    }
    if (v >= 6) {
        ReadOldList(in, points);
        f.WinPoints = WidenOldList(points);
        ReadOldList(in, points);
        f.ByePoints = WidenOldList(points);
        ReadOldList(in, points);
        f.LosePoints = WidenOldList(points);
        f.HostPoints = f.UnscheduleHostPoints = in.Int();
        f.CoHostPoints = f.UnscheduleCoHostPoints = in.Int();
        f.WinOfWinPoints = in.Int();
        f.FirstMatchWinPoints = in.Int();
    }
    for (auto& p : f.Players) {
        if (v == 3) {
            p.Name = in.Text(16);
            p.BootStart = in.Date();
            p.BootCount = in.Int();
            in.Skip(OldV3PlayerSize - 28);
        } else {
            p = ReadSinglePlayer(in, true);
        }
    }
    ReadRounds(in, f, Winners, old::Rounds - 1, true);
    if (f.ElimFormat != 0) ReadRounds(in, f, OneLoss, old::Rounds - 1, true);
}

// --- Stage links

void Link(TKvbFile& f, int player, int stage, int bracket, int round, int table, int seat) {
    Require(stage >= 0 && stage < MaxStages);
    TKvbLink& l = f.Links[static_cast<size_t>(player)][static_cast<size_t>(stage)];
    TKvbLink want{static_cast<int8_t>(bracket), static_cast<int8_t>(round),
                  static_cast<int8_t>(table), static_cast<int8_t>(seat)};
    if (l.Bracket >= 0) {
        // One entry at two tables of one stage cannot come from play, and the
        // engine would lose track of one of them (and later free a player a
        // table still points to).
        Require(l.Bracket == want.Bracket && l.Round == want.Round && l.Table == want.Table &&
                l.Seat == want.Seat);
    }
    l = want;
}

const TKvbTable* FinalTable(const TKvbFile& f, int bracket, int round) {
    const auto& rounds = f.Rounds[bracket];
    if (round < 0 || round >= static_cast<int>(rounds.size())) return nullptr;
    const auto& tables = rounds[static_cast<size_t>(round)].Tables;
    return tables.empty() ? nullptr : &tables[0];
}

// Every entry seated at a counted table has that table at one of its
// stages. Which seats are linked where follows the final-round markers, so a
// file whose markers do not fit its brackets (a damaged one) leaves an entry
// at a table it has no stage at, and the engine could not play on from it.
void RequireEverySeatLinked(const TKvbFile& f) {
    for (int b = 0; b < 3; ++b) {
        const auto& rounds = f.Rounds[b];
        for (int r = 0; r < static_cast<int>(rounds.size()); ++r) {
            const auto& round = rounds[static_cast<size_t>(r)];
            for (int i = 0; i < round.TableCount; ++i)
                for (int seat = 0; seat < 2; ++seat) {
                    const int p = round.Tables[static_cast<size_t>(i)].Seat[seat];
                    if (p < 0) continue;
                    const TKvbLinks& links = f.Links[static_cast<size_t>(p)];
                    Require(std::any_of(links.begin(), links.end(), [&](const TKvbLink& l) {
                        return l.Bracket == b && l.Round == r && l.Table == i && l.Seat == seat;
                    }));
                }
        }
    }
}

void BuildLinks(TKvbFile& f) {
    f.Links.assign(f.Players.size(), TKvbLinks{});
    const bool single = f.ElimFormat == 0;
    for (int b = 0; b < 3; ++b) {
        const auto& rounds = f.Rounds[b];
        for (int r = 0; r < static_cast<int>(rounds.size()); ++r) {
            const auto& round = rounds[static_cast<size_t>(r)];
            for (int i = 0; i < round.TableCount; ++i) {
                const TKvbTable& t = round.Tables[static_cast<size_t>(i)];
                if (t.Seat[0] >= 0) Link(f, t.Seat[0], r, b, r, i, 0);
                bool seat1 = b == TwoLoss || (b == Winners && (single || r < f.GrandFinalRound)) ||
                             (b == OneLoss && r <= f.OneLossFinalRound);
                if (t.Seat[1] >= 0 && seat1) Link(f, t.Seat[1], r, b, r, i, 1);
            }
        }
    }
    // The final crossings are recorded at the entry's next free stage.
    const TKvbTable* gf = FinalTable(f, Winners, f.GrandFinalRound);
    if (f.ElimFormat == 1 && gf && gf->Seat[1] >= 0)
        Link(f, gf->Seat[1], f.OneLossFinalRound + 1, Winners, f.GrandFinalRound, 0, 1);
    if (f.ElimFormat == 2) {
        const TKvbTable* last = FinalTable(f, OneLoss, f.OneLossLastRound);
        if (last && last->Seat[1] >= 0)
            Link(f, last->Seat[1], f.TwoLossFinalRound + 1, OneLoss, f.OneLossLastRound, 0, 1);
        if (gf && gf->Seat[1] >= 0 && last && (last->Result == 1 || last->Result == 2)) {
            int stage = last->Result == 1 ? f.OneLossLastRound + 1 : f.TwoLossFinalRound + 2;
            Link(f, gf->Seat[1], stage, Winners, f.GrandFinalRound, 0, 1);
        }
    }
    RequireEverySeatLinked(f);
}

}  // namespace

TKvbFile DecodeKvb(std::string_view bytes) {
    TByteReader in(bytes);
    std::string_view sig = bytes.substr(0, std::min(bytes.size(), SignatureSize));
    Require(sig.size() == SignatureSize &&
            sig.substr(0, SignaturePrefix.size()) == SignaturePrefix);
    TKvbFile f;
    f.Version = static_cast<uint8_t>(sig[SignatureSize - 1]);
    Require(f.Version >= OldestVersion && f.Version <= VersionTeam);
    if (f.Version >= 7) {
        Require(bytes.size() >= MainHeaderSize);
        ReadCurrentLayout(in, f);
    } else {
        ReadOldLayout(in, f);
    }
    BuildLinks(f);
    return f;
}

bool KvbReadable(std::string_view bytes) {
    try {
        DecodeKvb(bytes);
        return true;
    } catch (const TKvbReject&) {
        return false;
    }
}

}  // namespace kestrova::kvb

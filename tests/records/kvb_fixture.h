#pragma once
// A test-side writer of tournament files, written from the layout tables with
// explicit offsets, independent of the program's own writer: fixtures of every
// readable version and hostile variants of them.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace kestrova::testing {

struct FxTable {
    int32_t No = 0, Result = 0, Seat0 = -1, Seat1 = -1;
    double Start = 0, End = 0;
};
struct FxRound {
    int32_t Number = 0, Count = 0;
    bool Bye = false;
    std::vector<FxTable> Tables;  // written as given (the older layout pads to 64)
};
struct FxPlayer {
    std::string Name, P1, P2;
    double BootStart = 0;
    int32_t BootCount = 0;
    bool Out = false, Dq = false;
};

struct Fixture {
    int Version = 9;
    std::string Format = "Friday", Host = "Hosty", CoHost = "Cohosty", HostPlayer = "HostP",
                CoHostPlayer = "CoP", Rules = "7:45 pm", Start = "8:00 pm";
    int32_t Elim = 1;
    bool Started = true, Closed = true;
    int32_t OneLossFinal = 0, WinnersFinal = 0, GrandFinal = 0, BootTime = 9;
    int32_t TwoLossFinal = 0, OneLossLast = 0;
    std::array<std::string, 4> Email{"a@x", "b@x", "c@x", "d@x"};
    std::string MatchPoints = "3,3,3,3,3,3,3,3,3,3,3,3,3,3,5", TimeLimits = "30,40",
                WinPoints = "1,2,3", ByePoints = "1", LosePoints = "0,5,10";
    int32_t HostPts = 11, CoHostPts = 12, UnHostPts = 13, UnCoHostPts = 14, WinOfWin = 15,
            FirstMatchWin = 16;
    bool UnHost = true, UnCoHost = false;
    std::string Lobby = "Spades Room 3";
    int32_t FixedWinOfWin = 17;
    std::array<std::string, 5> Tiers{"1,1,3", "2,2,5", "3,3,5", "4,4,7", "5,5,7"};
    int32_t First = 21, Second = 22, Third = -23;
    double StartedAt = 46361.5, ClosedAt = 46361.75;
    bool DoublePts = true;
    // Older layout: 11-value lists.
    std::array<int32_t, 11> OldPoints{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    std::array<int32_t, 11> OldLimits{}, OldWin{}, OldBye{}, OldLose{};

    std::vector<FxPlayer> Players;
    std::array<std::vector<FxRound>, 3> Rounds;
    int32_t PlayerCountOverride = -1000;  // else Players.size()
};

class FxBytes {
  public:
    std::string B;
    void At(size_t off, const void* p, size_t n) {
        if (B.size() < off + n) B.resize(off + n, '\0');
        std::memcpy(&B[off], p, n);
    }
    void Int(size_t off, int32_t v) {
        unsigned char b[4];
        for (int i = 0; i < 4; ++i)
            b[i] = static_cast<unsigned char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
        At(off, b, 4);
    }
    void Bool(size_t off, bool v) { Int(off, v ? -1 : 0); }
    void Date(size_t off, double v) {
        uint64_t u;
        std::memcpy(&u, &v, 8);
        unsigned char b[8];
        for (int i = 0; i < 8; ++i)
            b[i] = static_cast<unsigned char>((u >> (8 * i)) & 0xFF);
        At(off, b, 8);
    }
    void Text(size_t off, const std::string& s, size_t n) {
        std::string f(n, '\0');
        std::memcpy(&f[0], s.data(), std::min(s.size(), n - 1));
        At(off, f.data(), n);
    }
};

inline void FxWriteRounds(FxBytes& o, size_t& off, const std::vector<FxRound>& rounds, bool pad64) {
    for (const FxRound& r : rounds) {
        o.Int(off, r.Number);
        o.Int(off + 4, r.Count);
        o.Bool(off + 8, r.Bye);
        off += 12;
        size_t n = pad64 ? 64 : r.Tables.size();
        for (size_t i = 0; i < n; ++i) {
            FxTable t = i < r.Tables.size() ? r.Tables[i] : FxTable{};
            o.Int(off, t.No);
            o.Int(off + 4, t.Result);
            o.Int(off + 8, t.Seat0);
            o.Int(off + 12, t.Seat1);
            o.Date(off + 16, t.Start);
            o.Date(off + 24, t.End);
            off += 32;
        }
    }
}

inline std::string FxSignature(int version) {
    std::string sig = "Morlun's Tourney File";
    sig.push_back('\x1a');
    sig.push_back('\0');
    sig.push_back(static_cast<char>(version));
    return sig;
}

inline int32_t FxCount(const Fixture& f) {
    return f.PlayerCountOverride != -1000 ? f.PlayerCountOverride
                                          : static_cast<int32_t>(f.Players.size());
}

// Versions 7 to 10.
inline std::string BuildCurrent(const Fixture& f) {
    FxBytes o;
    o.At(0, FxSignature(f.Version).data(), 24);
    o.Text(24, f.Format, 64);
    o.Text(88, f.Host, 20);
    o.Text(108, f.CoHost, 20);
    o.Text(128, f.HostPlayer, 20);
    o.Text(148, f.CoHostPlayer, 20);
    o.Text(168, f.Rules, 16);
    o.Text(184, f.Start, 16);
    o.Int(200, f.Elim);
    o.Bool(204, f.Started);
    o.Bool(208, f.Closed);
    o.Int(212, FxCount(f));
    o.Int(216, f.OneLossFinal);
    o.Int(220, f.WinnersFinal);
    o.Int(224, f.GrandFinal);
    o.Int(228, f.BootTime);
    for (int i = 0; i < 4; ++i)
        o.Text(232 + 64 * i, f.Email[i], 64);
    o.Text(488, f.MatchPoints, 64);
    o.Text(552, f.TimeLimits, 64);
    o.Text(616, f.WinPoints, 64);
    o.Text(680, f.ByePoints, 64);
    o.Text(744, f.LosePoints, 64);
    int32_t pts[6] = {f.HostPts,     f.CoHostPts, f.UnHostPts,
                      f.UnCoHostPts, f.WinOfWin,  f.FirstMatchWin};
    for (int i = 0; i < 6; ++i)
        o.Int(808 + 4 * i, pts[i]);
    o.Bool(832, f.UnHost);
    o.Bool(836, f.UnCoHost);
    size_t off = 840;
    if (f.Version >= 8) {
        o.Text(off, f.Lobby, 128);
        o.Int(off + 128, f.FixedWinOfWin);
    }
    if (f.Version >= 9) {
        o.Int(off + 132, f.TwoLossFinal);
        o.Int(off + 136, f.OneLossLast);
        for (int i = 0; i < 5; ++i)
            o.Text(off + 140 + 64 * i, f.Tiers[i], 64);
        o.Int(off + 460, f.First);
        o.Int(off + 464, f.Second);
        o.Int(off + 468, f.Third);
        o.Date(off + 472, f.StartedAt);
        o.Date(off + 480, f.ClosedAt);
        o.Bool(off + 488, f.DoublePts);
        off += 492;
    } else if (f.Version == 8) {
        off += 132;
    }
    for (const FxPlayer& p : f.Players) {
        if (f.Version == 10) {
            o.Text(off, p.Name, 32);
            o.Text(off + 32, p.P1, 16);
            o.Text(off + 48, p.P2, 16);
            off += 64;
        } else {
            o.Text(off, p.Name, 16);
            off += 16;
        }
        o.Date(off, p.BootStart);
        o.Int(off + 8, p.BootCount);
        o.Bool(off + 12, p.Out);
        o.Bool(off + 16, p.Dq);
        o.Int(off + 20, 0);
        off += 24;
    }
    for (const auto& b : f.Rounds)
        FxWriteRounds(o, off, b, false);
    return o.B;
}

// Versions 3 to 6: the packed 401-byte header and the optional blocks.
inline std::string BuildOld(const Fixture& f) {
    FxBytes o;
    o.At(0, FxSignature(f.Version).data(), 24);
    o.Text(24, f.Format, 65);
    o.Text(89, f.Host, 20);
    o.Text(109, f.CoHost, 20);
    o.Text(129, f.HostPlayer, 20);
    o.Text(149, f.CoHostPlayer, 20);
    o.Text(169, f.Rules, 16);
    o.Text(185, f.Start, 16);
    for (int i = 0; i < 11; ++i)
        o.Int(201 + 4 * i, f.OldPoints[i]);
    int32_t seven[7] = {f.Elim,         f.Started ? -1 : 0, f.Closed ? -1 : 0, FxCount(f),
                        f.OneLossFinal, f.WinnersFinal,     f.GrandFinal};
    for (int i = 0; i < 7; ++i)
        o.Int(245 + 4 * i, seven[i]);
    o.Text(273, f.Email[0], 64);
    o.Text(337, f.Email[1], 64);
    size_t off = 401;
    if (f.Version >= 5) {
        o.Text(off, f.Email[2], 64);
        o.Text(off + 64, f.Email[3], 64);
        o.Int(off + 128, f.BootTime);
        for (int i = 0; i < 11; ++i)
            o.Int(off + 132 + 4 * i, f.OldLimits[i]);
        off += 176;
    }
    if (f.Version >= 6) {
        for (int i = 0; i < 11; ++i)
            o.Int(off + 4 * i, f.OldWin[i]);
        for (int i = 0; i < 11; ++i)
            o.Int(off + 44 + 4 * i, f.OldBye[i]);
        for (int i = 0; i < 11; ++i)
            o.Int(off + 88 + 4 * i, f.OldLose[i]);
        o.Int(off + 132, f.HostPts);
        o.Int(off + 136, f.CoHostPts);
        o.Int(off + 140, f.WinOfWin);
        o.Int(off + 144, f.FirstMatchWin);
        off += 148;
    }
    for (const FxPlayer& p : f.Players) {
        o.Text(off, p.Name, 16);
        o.Date(off + 16, p.BootStart);
        o.Int(off + 24, p.BootCount);
        if (f.Version == 3) {
            o.Int(off + 28, 0);
            off += 32;
        } else {
            o.Bool(off + 28, p.Out);
            o.Bool(off + 32, p.Dq);
            o.Int(off + 36, 0);
            off += 40;
        }
    }
    FxWriteRounds(o, off, f.Rounds[0], true);
    if (f.Elim != 0) FxWriteRounds(o, off, f.Rounds[1], true);
    return o.B;
}

inline std::string BuildFixture(const Fixture& f) {
    return f.Version >= 7 ? BuildCurrent(f) : BuildOld(f);
}

}  // namespace kestrova::testing

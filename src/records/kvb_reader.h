#pragma once
// Decoding a tournament file of any readable version (3 to 10) into a parsed
// record that is checked in full before the state is touched.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/types.h"

namespace kestrova::kvb {

struct TKvbTable {
    int32_t TableNo = 0;
    int32_t Result = 0;
    int32_t Seat[2] = {-1, -1};  // player indexes, -1 empty
    double StartTime = 0, EndTime = 0;
};

struct TKvbRound {
    int32_t RoundNumber = 0;  // as stored; the state keeps its own numbering
    int32_t TableCount = 0;
    bool HasBye = false;
    std::vector<TKvbTable> Tables;  // the first TableCount tables (all 64 in the older layout)
};

struct TKvbPlayer {
    std::string Name, Player1, Player2;
    double BootStart = 0;
    int32_t BootCount = 0;
    bool BootedOut = false, Disqualified = false;
};

// Where an entry sat at one stage (bracket -1: the stage was not reached).
struct TKvbLink {
    int8_t Bracket = -1;
    int8_t Round = 0;
    int8_t Table = 0;
    int8_t Seat = 0;
};
using TKvbLinks = std::array<TKvbLink, MaxStages>;

struct TKvbFile {
    int Version = 0;
    std::string FormatName, HostName, CoHostName, HostPlayerName, CoHostPlayerName;
    std::string RulesTime, StartTime;
    int32_t ElimFormat = 0;
    bool Started = false, SignupClosed = false;
    int32_t OneLossFinalRound = 0, WinnersFinalRound = 0, GrandFinalRound = 0;
    int32_t TwoLossFinalRound = 0, OneLossLastRound = 0;
    int32_t BootTime = 7;
    std::array<std::string, 4> Email;
    TRoundList MatchPoints{}, TimeLimits{}, WinPoints{}, ByePoints{}, LosePoints{};
    int32_t HostPoints = 0, CoHostPoints = 0, UnscheduleHostPoints = 0, UnscheduleCoHostPoints = 0,
            WinOfWinPoints = 0, FirstMatchWinPoints = 0;
    bool UnscheduledHost = false, UnscheduledCoHost = false;
    // Extension block (versions 9 and 10; partly 8).
    std::string LobbyName;
    int32_t FixedWinOfWinPoints = 0;
    std::array<TRoundList, 5> Tiers{};
    int32_t FirstPlacePoints = 0, SecondPlacePoints = 0, ThirdPlacePoints = 0;
    double StartedAt = 0, ClosedAt = 0;
    bool DoublePlayerPoints = false;
    // What the older files lack is taken from the tournament open while reading.
    bool HasTimeLimits = true;  // false in versions 3 and 4
    bool HasPoints = true;      // false in versions 3 to 5

    std::vector<TKvbPlayer> Players;
    std::array<std::vector<TKvbRound>, 3> Rounds;  // per bracket, rounds 0..last read
    std::vector<TKvbLinks> Links;                  // per player, rebuilt from the tables
    std::vector<int32_t> VoidTables;               // this program's own block, if present

    bool TeamMode() const { return Version == VersionTeamByte; }
    static constexpr int VersionTeamByte = 10;
};

// Decodes and checks the whole file. Throws TKvbReject ("Operation aborted")
// for a wrong signature, an unknown version, a value out of range or a short file.
TKvbFile DecodeKvb(std::string_view bytes);

// True when DecodeKvb accepts the bytes: the check a save makes before its
// file may replace the previous one.
bool KvbReadable(std::string_view bytes);

}  // namespace kestrova::kvb

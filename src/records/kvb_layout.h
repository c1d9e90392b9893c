#pragma once
// Byte layout of the tournament file (.kvb): sizes, offsets and the
// little-endian field codecs shared by the reader, the writer and kvbtool.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/types.h"

namespace kestrova::kvb {

// "Morlun's Tourney File", 0x1A, 0x00, then the version byte.
inline constexpr std::string_view SignaturePrefix{"Morlun's Tourney File\x1a\0", 23};
constexpr size_t SignatureSize = 24;

constexpr uint8_t VersionSingle = 9;
constexpr uint8_t VersionTeam = 10;
constexpr uint8_t OldestVersion = 3;

constexpr size_t MainHeaderSize = 840;
constexpr size_t ExtensionSize = 492;
constexpr size_t ExtensionV8Size = 132;  // lobby name and FixedWinOfWinPoints only
constexpr size_t SinglePlayerSize = 40;
constexpr size_t TeamPlayerSize = 88;
constexpr size_t OldV3PlayerSize = 32;
constexpr size_t RoundHeaderSize = 12;
constexpr size_t TableRecordSize = 32;
constexpr size_t ListTextSize = 64;

// Main header offsets (versions 7 to 10).
namespace hdr {
constexpr size_t FormatName = 24, HostName = 88, CoHostName = 108, HostPlayerName = 128,
                 CoHostPlayerName = 148, RulesTime = 168, StartTime = 184, ElimFormat = 200,
                 Started = 204, SignupClosed = 208, PlayerCount = 212, OneLossFinalRound = 216,
                 WinnersFinalRound = 220, GrandFinalRound = 224, BootTime = 228, Email1 = 232,
                 MatchPoints = 488, TimeLimits = 552, WinPoints = 616, ByePoints = 680,
                 LosePoints = 744, HostPoints = 808, CoHostPoints = 812, UnscheduleHostPoints = 816,
                 UnscheduleCoHostPoints = 820, WinOfWinPoints = 824, FirstMatchWinPoints = 828,
                 UnscheduledHost = 832, UnscheduledCoHost = 836;
constexpr size_t EmailSize = 64, HostTextSize = 20, TimeTextSize = 16, FormatNameSize = 64;
}  // namespace hdr

// Extension block offsets (relative to its start; versions 9 and 10, first 132 bytes in 8).
namespace ext {
constexpr size_t LobbyName = 0, FixedWinOfWinPoints = 128, TwoLossFinalRound = 132,
                 OneLossLastRound = 136, Tiers = 140, FirstPlacePoints = 460,
                 SecondPlacePoints = 464, ThirdPlacePoints = 468, StartedAt = 472, ClosedAt = 480,
                 DoublePlayerPoints = 488;
constexpr size_t LobbyNameSize = 128;
}  // namespace ext

// This program's own block after the round blocks: what the layout above has
// no field for. Readers of the layout stop after the round blocks and never
// see it; this reader takes it when its tag is there and ignores other bytes.
namespace own {
inline constexpr std::string_view Tag{"KVX1", 4};
constexpr int32_t MaxVoidTables = 1024;
}  // namespace own

// Older layout (versions 3 to 6): a packed header of 401 bytes and optional blocks.
namespace old {
constexpr size_t HeaderSize = 401;
constexpr size_t FormatName = 24, FormatNameSize = 65, HostName = 89, CoHostName = 109,
                 HostPlayerName = 129, CoHostPlayerName = 149, RulesTime = 169, StartTime = 185,
                 MatchPoints = 201, ElimFormat = 245, Started = 249, SignupClosed = 253,
                 PlayerCount = 257, OneLossFinalRound = 261, WinnersFinalRound = 265,
                 GrandFinalRound = 269, Email1 = 273, Email2 = 337;
constexpr size_t V5BlockSize = 176;  // e-mail 3 and 4, boot time, 11 time limits
constexpr size_t V6BlockSize = 148;  // 11 win, bye and lose points, 4 point values
constexpr int ListValues = 11;
constexpr int Rounds = 11;
constexpr int MinMatchPoints = 1, MaxMatchPoints = 200;
constexpr int DefaultBootTime = 7;
}  // namespace old

// A refusal of the file's content: shown as "Operation aborted".
class TKvbReject : public std::runtime_error {
  public:
    TKvbReject() : std::runtime_error("Operation aborted") {}
};

// Appends fields to a byte buffer, little-endian whatever the host.
class TByteWriter {
  public:
    explicit TByteWriter(std::string& out) : out_(out) {}
    void Int(int32_t v);
    void Bool(bool v) { Int(v ? -1 : 0); }
    void Date(double v);
    // n bytes: at most n-1 characters, then zeros.
    void Text(std::string_view s, size_t n);
    void Zeros(size_t n) { out_.append(n, '\0'); }
    void Raw(std::string_view s) { out_.append(s); }
    size_t Size() const { return out_.size(); }

  private:
    std::string& out_;
};

// Reads fields from a byte view; any read past the end rejects the file.
class TByteReader {
  public:
    explicit TByteReader(std::string_view data) : data_(data) {}
    int32_t Int();
    bool Bool() { return Int() != 0; }
    double Date();               // a NaN or infinite date rejects the file
    std::string Text(size_t n);  // ends at the first 0 byte or at the field's end
    void Skip(size_t n);
    void Seek(size_t pos);
    size_t Pos() const { return pos_; }
    std::string_view Data() const { return data_; }

  private:
    std::string_view Take(size_t n);
    std::string_view data_;
    size_t pos_ = 0;
};

// The list text of a per-round list, and its reading by the list rule.
std::string ListText(const TRoundList& list);
TRoundList ParseListText(std::string_view text);

// Widens an 11-value list of the older layout to 15 entries.
TRoundList WidenOldList(const int32_t (&values)[old::ListValues]);

}  // namespace kestrova::kvb

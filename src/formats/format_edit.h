#pragma once
// What the format editor does to its copy of a format's lines: every field
// writes its key at once, and the sub-dialogs are handed values read from the
// lines and write theirs back. No widget here, so each rule is testable alone.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/types.h"
#include "model/message_kind.h"

namespace kestrova {

class TTourneyState;
using TFormatLines = std::vector<std::string>;

// The five match-point tier keys, smallest field first.
constexpr int MatchPointsTierCount = 5;
extern const std::array<const char*, MatchPointsTierCount> MatchPointsTierKeys;

// Writes "key=value" in place of the key's first line (or at the end), and
// drops any later line of the same key; an empty value removes the key.
void SetKeyValue(TFormatLines& lines, std::string_view key, const std::string& value);
void RemoveKey(TFormatLines& lines, std::string_view key);

// ---- "Match points:" choice
// Items 0-4 "1 pt single elim" ... "5 pt single elim", 5-6 "1 pt double elim",
// "2 pt double elim", 7 "1 pt triple elim", 8 "Other...".
constexpr int MatchPointsItemCount = 9;
constexpr int MatchPointsOtherItem = 8;
extern const std::array<const char*, MatchPointsItemCount> MatchPointsItems;
// The item the lines show.
int MatchPointsItemOf(const TFormatLines& lines);
// Items 0-7: "Points" and "Elim" of the item, tier keys removed.
void ChooseMatchPointsItem(TFormatLines& lines, int item);

// What the custom points dialog ("Other...") is handed and gives back.
enum class TCustomElim { Single, Double, Triple, Fourth };
struct TCustomPoints {
    std::array<TRoundList, MatchPointsTierCount> Tiers{};
    bool SameForAll = true;  // "Points are always the same regardless of number of players"
    TCustomElim Elim = TCustomElim::Single;
};
TCustomPoints CustomPointsOf(const TFormatLines& lines);
void StoreCustomPoints(TFormatLines& lines, const TCustomPoints& points);

// What the player points dialog is handed and gives back. A place value is
// its size; "Exactly:" is stored as the negative size, "Extra:" as it is.
struct TPlayerPointsFields {
    TRoundList WinPoints{}, ByePoints{}, LosePoints{};
    std::array<int32_t, 3> Place{};
    std::array<bool, 3> PlaceExactly{};
    int32_t HostPoints = 0, CoHostPoints = 0;
    int32_t UnscheduleHostPoints = 0, UnscheduleCoHostPoints = 0;
    int32_t WinOfWinPoints = 0, FixedWinOfWinPoints = 0, FirstMatchWinPoints = 0;
};
TPlayerPointsFields PlayerPointsOf(const TFormatLines& lines);
void StorePlayerPoints(TFormatLines& lines, const TPlayerPointsFields& points);

// "Starting tables", or the built-in start tables when the key is missing.
TRoundList StartTablesOf(const TFormatLines& lines);
// Writes a 15-entry list key ("Starting tables", "Match time limits").
void StoreRoundList(TFormatLines& lines, std::string_view key, const TRoundList& list);
// "Time for boots:": the stored minutes, 7 when missing or not a number.
int BootTimeOf(const TFormatLines& lines);

// ---- Messages. The editor shows a template with its line breaks and
// without its "%!" mark, which the check box holds instead.
struct TEditedMessage {
    std::string Text;  // line breaks as CR LF
    bool NoAutoPost = false;
};
TEditedMessage DecodeMessage(std::string_view stored);
// Every line break (CR LF, LF or CR) becomes "%c"; "%!" goes in front when ticked.
std::string EncodeMessage(std::string_view text, bool noAutoPost);
// The message as the editor shows it (an absent key shows an empty text).
TEditedMessage MessageOf(const TFormatLines& lines, TMessageKind kind);
void StoreMessage(TFormatLines& lines, TMessageKind kind, const TEditedMessage& message);

// The "Sample:" text: the message expanded with the sample parameters taken
// from the lines (the editor has already written every field into them).
TMsgParams SampleParams(const TFormatLines& lines);
std::string SampleText(TTourneyState& s, const TFormatLines& lines, std::string_view message);

// The refusal of the editor's OK, or an empty text. `others` are the names of
// the manager's other entries ("Default" among them).
std::string FormatNameRefusal(const std::string& name, const std::string& openedWith,
                              const std::vector<std::string>& others);

}  // namespace kestrova

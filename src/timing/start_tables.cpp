#include "timing/start_tables.h"

#include <algorithm>

#include "common/int_list.h"
#include "common/text.h"
#include "engine/table_count.h"
#include "engine/tourney_file.h"
#include "formats/format_defaults.h"
#include "records/event_log.h"
#include "records/settings.h"

namespace kestrova {

namespace {

int Clamp(int v, int lo, int hi) { return std::clamp(v, lo, hi); }

// Single elimination, and round 1 of the others: the last of W/2 tables.
int FirstRoundLast(int start, int w) {
    return (start + (w - 1) / 2 - 1) % 150 + 1;
}

void Mark(TExampleTables& x, int r, int last) {
    x.Last[static_cast<size_t>(r)] = last;
    x.Reached[static_cast<size_t>(r)] = true;
    x.Shown[static_cast<size_t>(r)] = true;
}

void SingleExample(TExampleTables& x, const TRoundList& S, int w) {
    for (int r = 0; r < 13; ++r) {
        Mark(x, r, FirstRoundLast(S[r], w));
        w = (w + 1) / 2;
        if (w <= 4) break;
    }
    x.Last[13] = S[13] % 150 + 1;  // the second semifinal table (after 150 comes 1)
    x.Shown[13] = true;
}

void DoubleExample(TExampleTables& x, const TRoundList& S, int w) {
    int o = 0;
    for (int r = 0; r < 13; ++r) {
        Mark(x, r, r == 0 ? FirstRoundLast(S[0], w) : ((S[r] + o - 2) & ~1) % 150 + 1);
        o = w / 2 + (o + 1) / 2;
        w = (w + 1) / 2;
        if (o <= 2) break;
    }
}

void TripleExample(TExampleTables& x, const TRoundList& S, int w) {
    int o = 0, t = 0;
    for (int r = 0; r < 14; ++r) {
        auto block = [&](int i) { return 4 * ((S[r] + 1) / 4 + i); };
        int last = FirstRoundLast(S[0], w);
        if (r > 0)
            last = t < o ? (block((o - 1) / 2) + 1) % 148 + 1 : (block((t - 1) / 2) + 2) % 148 + 1;
        Mark(x, r, last);
        t = o / 2 + (t + 1) / 2;
        o = w / 2 + (o + 1) / 2;
        w = (w + 1) / 2;
        if (t == 1) break;
    }
}

}  // namespace

TExampleTables ExampleLastTables(const TRoundList& start, int players, TElimFormat format) {
    TRoundList S;
    for (size_t i = 0; i < S.size(); ++i)
        S[i] = Clamp(start[i], MinStartTable, MaxStartTable);
    const int w = Clamp(players, MinExamplePlayers, MaxExamplePlayers);
    TExampleTables x;
    x.Reached[13] = x.Reached[14] = true;  // the semifinal and final fields are always open
    switch (format) {
        case TElimFormat::Single: SingleExample(x, S, w); break;
        case TElimFormat::Double: DoubleExample(x, S, w); break;
        case TElimFormat::Triple: TripleExample(x, S, w); break;
    }
    x.Shown[14] = false;
    if (format == TElimFormat::Double) x.Shown[13] = false;
    return x;
}

TRoundList DefaultStartTableRow(const TAppSettings& settings) {
    TRoundList row{};
    const std::string& text = settings.DefaultStartTables;
    size_t pos = 0;
    for (int i = 0; i < RoundIndexCount; ++i) {
        const size_t comma = text.find(',', pos);
        const bool last = i == RoundIndexCount - 1;
        if ((comma == std::string::npos) != last) return DefaultStartTables;
        const std::string item = text.substr(pos, last ? std::string::npos : comma - pos);
        int32_t v = 0;
        if (!TryStrToInt(item, v) || v < MinStartTable || v > MaxStartTable)
            return DefaultStartTables;
        row[static_cast<size_t>(i)] = v;
        pos = comma + 1;
    }
    return row;
}

void SaveDefaultStartTableRow(TTourneyState& s, const TRoundList& row) {
    SaveDefaultStartTables(s, FormatIntList(row));
}

void ApplyStartTables(TTourneyState& s, const TRoundList& row) {
    if (s.SignupClosed) return;
    for (size_t i = 0; i < row.size(); ++i)
        s.StartTable[i] = Clamp(row[i], MinStartTable, MaxStartTable);
    WriteLog(s, "    -> Starting tables are: " + FormatIntList(s.StartTable));
    SetElimFormat(s, s.ElimFormat);
    SaveTourney(s);
}

}  // namespace kestrova

#include "engine/undo.h"

#include <algorithm>
#include <cstring>

#include "engine/save_change.h"
#include "engine/status.h"
#include "records/event_log.h"
#include "engine/tourney_file.h"
#include "engine/boots.h"
#include "engine/points.h"

namespace kestrova {

namespace {
constexpr int kBracketStride = MaxRounds * MaxTablesPerRound;


}  // namespace

namespace {
std::shared_ptr<const std::vector<int16_t>> TableNumbers(TTourneyState& s, bool& shared) {
    shared = s.TableNoCache && s.TableNoCacheVersion == s.TableNoVersion;
    if (shared) return s.TableNoCache;
    auto nos = std::make_shared<std::vector<int16_t>>(3 * kBracketStride);
    for (int b = 0; b < 3; ++b) {
        const TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r)
            for (int i = 0; i < MaxTablesPerRound; ++i)
                (*nos)[b * kBracketStride + r * MaxTablesPerRound + i] =
                    static_cast<int16_t>(br[r].Tables[i].TableNo);
    }
    s.TableNoCache = nos;
    s.TableNoCacheVersion = s.TableNoVersion;
    return nos;
}
}  // namespace

using TNames = std::vector<TUndoRedo::PlayerNames>;

std::shared_ptr<const TNames> PlayerNamesOf(TTourneyState& s, bool& shared) {
    auto cached = std::static_pointer_cast<const TNames>(s.NamesCache);
    shared = cached && s.NamesCacheVersion == s.NamesVersion && cached->size() == s.Players.size();
    if (shared) return cached;
    auto names = std::make_shared<TNames>();
    names->reserve(s.Players.size());
    for (const auto& p : s.Players) names->push_back({p->Name, p->Player1, p->Player2});
    s.NamesCache = names;
    s.NamesCacheVersion = s.NamesVersion;
    return names;
}

namespace {
// An entry's fields as the last snapshot copied them, in the entry's own
// layout: comparing it with the entry is a memcmp, where comparing the
// compact copy would convert every stage link.
struct TPlayerImage {
    std::array<TTableRec*, MaxStages> Tables;
    std::array<int32_t, MaxStages> Seats;
    TDateTime BootStart;
    int32_t BootCount, Points;
    int32_t BootedOut, Disqualified;
};

struct TPieces {
    std::array<std::shared_ptr<const TUndoRedo::RoundCopy>, 3 * MaxRounds> Rounds;
    std::vector<std::shared_ptr<const TUndoRedo::PlayerChunk>> Players;
    // The image of each entry that Players[i / ChunkSize] was copied from.
    std::vector<TPlayerImage> Images;
};

TPieces& PiecesOf(TTourneyState& s) {
    if (!s.UndoPieces) s.UndoPieces = std::make_shared<TPieces>();
    return *std::static_pointer_cast<TPieces>(s.UndoPieces);
}

int CopyLimit(const TRoundRec& round) {
    // Tables past the high-water mark have never held anyone.
    return std::min(MaxTablesPerRound, std::max(round.TableCount, round.HighWater));
}

// The round still reads as its last copy (most rounds do: a result changes few).
bool SameRound(const TRoundRec& round, const TUndoRedo::RoundCopy& copy) {
    const size_t limit = static_cast<size_t>(CopyLimit(round));
    return copy.TableCount == round.TableCount && copy.HasBye == round.HasBye &&
           copy.Expected == round.Expected &&
           copy.Tables.size() == limit &&
           (limit == 0 || std::memcmp(copy.Tables.data(), round.Tables.data(), limit * sizeof(TTableRec)) == 0);
}

void CopyRound(const TRoundRec& round, TUndoRedo::RoundCopy& out) {
    out.TableCount = static_cast<int16_t>(round.TableCount);
    out.Expected = static_cast<int16_t>(round.Expected);
    out.HasBye = round.HasBye;
    out.Tables.assign(round.Tables.begin(), round.Tables.begin() + CopyLimit(round));
}

// Stage links as byte offsets from the first bracket: the brackets are one
// block inside the state, which never moves.
int32_t TableOffset(const TTourneyState& s, const TTableRec* t) {
    if (!t) return -1;
    return static_cast<int32_t>(reinterpret_cast<const char*>(t) -
                                reinterpret_cast<const char*>(&s.Winners));
}

TTableRec* TableFromOffset(TTourneyState& s, int32_t offset) {
    if (offset < 0) return nullptr;
    return reinterpret_cast<TTableRec*>(reinterpret_cast<char*>(&s.Winners) + offset);
}

TUndoRedo::PlayerCopy CopyPlayer(const TTourneyState& s, const TPlayer& p) {
    TUndoRedo::PlayerCopy c{p.BootStart, {}, {}, p.BootCount, p.Points, p.BootedOut,
                            p.Disqualified};
    for (int k = 0; k < MaxStages; ++k) {
        c.Tables[k] = TableOffset(s, p.Tables[k]);
        c.Seats[k] = static_cast<int8_t>(p.Seats[k]);
    }
    return c;
}

TPlayerImage ImageOf(const TPlayer& p) {
    TPlayerImage m{};
    m.Tables = p.Tables;
    m.Seats = p.Seats;
    m.BootStart = p.BootStart;
    m.BootCount = p.BootCount;
    m.Points = p.Points;
    m.BootedOut = p.BootedOut;
    m.Disqualified = p.Disqualified;
    return m;
}

// The entry still reads as the image its last copy was made from. A stage
// link is the same table exactly when its offset is, and seats are 0 or 1,
// so this is the comparison with the copy itself, made without converting.
// (BootStart is compared as a number, as the copy compared it: 0 and -0 alike.)
bool SameImage(const TPlayer& p, const TPlayerImage& m) {
    return std::memcmp(p.Tables.data(), m.Tables.data(), sizeof m.Tables) == 0 &&
           std::memcmp(p.Seats.data(), m.Seats.data(), sizeof m.Seats) == 0 &&
           m.BootStart == p.BootStart && m.BootCount == p.BootCount && m.Points == p.Points &&
           m.BootedOut == static_cast<int32_t>(p.BootedOut) &&
           m.Disqualified == static_cast<int32_t>(p.Disqualified);
}

// The entries still read as their last copy.
bool SameChunk(const TTourneyState& s, const TPieces& pieces, size_t first, size_t end,
               const TUndoRedo::PlayerChunk& cached) {
    if (cached.size() != end - first || pieces.Images.size() < end) return false;
    for (size_t i = first; i < end; ++i)
        if (!SameImage(*s.Players[i], pieces.Images[i])) return false;
    return true;
}

}  // namespace

std::unique_ptr<TUndoRedo> TUndoRedo::Take(TTourneyState& s) {
    auto u = std::make_unique<TUndoRedo>();
    TPieces& pieces = PiecesOf(s);
    bool shared = false;
    u->TableNos = TableNumbers(s, shared);
    if (!shared) u->OwnBytes += u->TableNos->size() * sizeof(int16_t);

    for (int b = 0; b < 3; ++b) {
        const TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r) {
            auto& cached = pieces.Rounds[b * MaxRounds + r];
            if (!cached || !SameRound(br[r], *cached)) {
                auto fresh = std::make_shared<RoundCopy>();
                CopyRound(br[r], *fresh);
                u->OwnBytes += sizeof(RoundCopy) + fresh->Tables.size() * sizeof(TTableRec);
                cached = std::move(fresh);
            }
            u->Rounds[b * MaxRounds + r] = cached;
        }
    }

    u->PlayerCount = s.Players.size();
    const size_t chunks = (s.Players.size() + ChunkSize - 1) / ChunkSize;
    pieces.Players.resize(chunks);
    u->Players.reserve(chunks);
    PlayerChunk chunk;
    chunk.reserve(ChunkSize);
    for (size_t c = 0; c < chunks; ++c) {
        const size_t first = c * ChunkSize;
        const size_t end = std::min(s.Players.size(), first + ChunkSize);
        auto& cached = pieces.Players[c];
        if (!cached || !SameChunk(s, pieces, first, end, *cached)) {
            chunk.clear();
            if (pieces.Images.size() < end) pieces.Images.resize(end);
            for (size_t i = first; i < end; ++i) {
                chunk.push_back(CopyPlayer(s, *s.Players[i]));
                pieces.Images[i] = ImageOf(*s.Players[i]);
            }
            cached = std::make_shared<const PlayerChunk>(chunk);
            u->OwnBytes += sizeof(PlayerChunk) + chunk.size() * sizeof(PlayerCopy);
        }
        u->Players.push_back(cached);
    }
    u->Names = PlayerNamesOf(s, shared);
    if (!shared) u->OwnBytes += u->Names->size() * sizeof(PlayerNames);
    u->Markers = {s.WinnersFinalRound, s.OneLossFinalRound, s.TwoLossFinalRound,
                  s.OneLossLastRound, s.GrandFinalRound};
    u->OwnBytes += sizeof(TUndoRedo) + u->Players.capacity() * sizeof(u->Players[0]);
    return u;
}

bool TUndoRedo::Restore(TTourneyState& s) const {
    if (PlayerCount != s.Players.size()) return false;
    for (int b = 0; b < 3; ++b) {
        TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r) {
            TRoundRec& round = br[r];
            const RoundCopy& copy = *Rounds[b * MaxRounds + r];
            round.TableCount = copy.TableCount;
            round.Expected = copy.Expected;
            round.HasBye = copy.HasBye;
            const size_t kept = copy.Tables.size();
            std::copy(copy.Tables.begin(), copy.Tables.end(), round.Tables.begin());
            for (size_t i = kept; i < MaxTablesPerRound; ++i) {
                TTableRec& t = round.Tables[i];
                t = TTableRec{};
                t.Round = &round;
                t.TableNo = (*TableNos)[b * kBracketStride + r * MaxTablesPerRound + i];
            }
            round.HighWater = std::max(round.HighWater, static_cast<int32_t>(kept));
        }
    }
    ++s.TableNoVersion;
    for (size_t i = 0; i < PlayerCount; ++i) {
        const PlayerCopy& c = (*Players[i / ChunkSize])[i % ChunkSize];
        TPlayer& p = *s.Players[i];
        if (Names && i < Names->size()) {
            p.Name = (*Names)[i].Name;
            p.Player1 = (*Names)[i].Player1;
            p.Player2 = (*Names)[i].Player2;
        }
        p.BootStart = c.BootStart;
        p.BootCount = c.BootCount;
        p.Points = c.Points;
        p.BootedOut = c.BootedOut;
        p.Disqualified = c.Disqualified;
        for (int k = 0; k < MaxStages; ++k) {
            p.Tables[k] = TableFromOffset(s, c.Tables[k]);
            p.Seats[k] = c.Seats[k];
        }
    }
    ++s.NamesVersion;
    s.WinnersFinalRound = Markers[0];
    s.OneLossFinalRound = Markers[1];
    s.TwoLossFinalRound = Markers[2];
    s.OneLossLastRound = Markers[3];
    s.GrandFinalRound = Markers[4];
    return true;
}

void UpdateUndoEnabling(TTourneyState& s) {
    s.View().UndoRedoChanged(!s.UndoList.empty(), !s.RedoList.empty());
}

void SaveUndo(TTourneyState& s, TUndoStack& list, bool clearRedo) {
    list.push_back(TUndoRedo::Take(s));
    if (&list == &s.UndoList && clearRedo) s.RedoList.clear();
    UpdateUndoEnabling(s);
}

void ClearUndoRedo(TTourneyState& s, TUndoStack& list) {
    list.clear();
    UpdateUndoEnabling(s);
}

void ClearUndoAndRedo(TTourneyState& s) {
    s.UndoList.clear();
    s.RedoList.clear();
    UpdateUndoEnabling(s);
}

namespace {
bool Step(TTourneyState& s, TUndoStack& from, TUndoStack& to, bool clearRedo) {
    if (from.empty()) return false;
    std::shared_ptr<TUndoRedo> top = std::move(from.back());
    from.pop_back();
    if (top->PlayerCount != s.Players.size()) {
        // Players changed under the stacks' feet; nothing of them can be restored.
        ClearUndoAndRedo(s);
        return false;
    }
    SaveUndo(s, to, clearRedo);
    UpdateUndoEnabling(s);
    top->Restore(s);
    RebuildActiveBoots(s);
    SelectMatchPointsTier(s);
    UpdateBracketTabs(s);
    s.View().RedrawAll();
    SaveChange(s);
    return true;
}
}  // namespace

bool Undo(TTourneyState& s) {
    if (s.UndoList.empty()) return false;
    WriteLog(s, "Click: Undo");
    return Step(s, s.UndoList, s.RedoList, false);
}

bool Redo(TTourneyState& s) {
    if (s.RedoList.empty()) return false;
    WriteLog(s, "Click: Redo");
    return Step(s, s.RedoList, s.UndoList, false);
}

}  // namespace kestrova

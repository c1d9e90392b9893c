#include "formats/format_defaults.h"

#include "common/text.h"

namespace kestrova {

// Seven bullets of code page 1252 (U+2022) frame the announcements.
#define KV_BULLET "\x95\x95\x95\x95\x95\x95\x95"
#define KV_ALL_START KV_BULLET "     ALL START - %m points     " KV_BULLET

const std::vector<std::string>& DefaultFormatLines() {
    static const std::vector<std::string> lines = {
        "Welcome=" KV_BULLET
        " Welcome to this Tournament, please sit at tables 43-48 and await your assignment.",
        "Format=" KV_BULLET " This tournament is %m point single elimination, %f point final",
        "Signup=" KV_BULLET " %p, Welcome to this Tournament. Please be seated at Table #%t by %u",
        "Signup (without team partner)=" KV_BULLET
        " %p (waiting for a partner), Welcome to this Tournament. Please be seated at Table #%t "
        "by %u",
        "Next assign (1 player)=" KV_BULLET
        " %p, you will be playing next at Table #%t for %r (Time%n)",
        "Next assign (2 players)=" KV_BULLET
        " %p and %o are assigned to Table #%t for %r (Set match to %m points, Time%n)",
        "Next assign loss (1p)=" KV_BULLET
        " %p, you have another chance at Table #%t for %r (Time%n)",
        "Next assign loss (2p)=" KV_BULLET
        " %p and %o, you have another chance at Table #%t for %r (Set match to %m points, "
        "Time%n)",
        "Next assign FINALS=" KV_BULLET
        " %p, you will be playing next at Table #%t for %r (Time%n)",
        "Next assign FINALS (2p)=" KV_BULLET
        " %p and %o are assigned to Table #%t for %r (Set match to %m points, Time%n)",
        "Thank you=" KV_BULLET
        " %p, thank you for playing this Tournament. Hope to see you here again.",
        "Bye=" KV_BULLET " %p, you have the lucky BYE for %r!",
        "Boot=" KV_BULLET " (At #%t) %p has %b minutes to return. It is now %n past the hour.",
        "Boot returned=" KV_BULLET " %p, welcome back. You are sitting at Table #%t",
        "Boot timed out=" KV_BULLET " %p, your opp (%o) has timed out, please post win",
        "All start=" KV_ALL_START "%c" KV_ALL_START "%c" KV_ALL_START,
        "Closed=" KV_BULLET " This tournament is now CLOSED",
        "3rd place announcement=" KV_BULLET " Congratulations go to %3 for THIRD PLACE " KV_BULLET,
        "Announce winners=" KV_BULLET " Congratulations go to %1 for FIRST PLACE " KV_BULLET
        "%c" KV_BULLET "   and to %2 for SECOND PLACE   " KV_BULLET "%c" KV_BULLET
        "   and to %3 for THIRD PLACE   " KV_BULLET,
        "Time warning=" KV_BULLET " You have %x minutes left to finish your game.",
        "Points=3,3,3,3,3,3,3,3,3,3,3,3,3,5",
        "Elim=1",
        "Win points=2,2,2,2,2,2,2,2,2,2,2,2,2,17",
        "Bye points=1,1,1,1,1,1,1,1,1,1,1,1,1,1",
        "Lose points=0,0,0,0,0,0,0,0,0,0,0,0,5,10",
        "Boot time=7",
        "Match time limits=45,45,45,45,45,45,45,45,45,45,45,45,45,60",
    };
    return lines;
}

#undef KV_ALL_START
#undef KV_BULLET

std::string DefaultFormatValue(std::string_view key) {
    for (const auto& line : DefaultFormatLines()) {
        size_t eq = line.find('=');
        if (eq != std::string::npos && SameText(std::string_view(line).substr(0, eq), key))
            return line.substr(eq + 1);
    }
    return {};
}

const std::array<TRoundList, PointsPresetCount>& PointsPresets() {
    static const std::array<TRoundList, PointsPresetCount> presets = {{
        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3},
        {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 5},
        {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 5},
        {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 7},
        {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 7},
    }};
    return presets;
}

int FindPointsPreset(const TRoundList& list) {
    const auto& presets = PointsPresets();
    for (int i = 0; i < PointsPresetCount; ++i)
        if (presets[static_cast<size_t>(i)] == list) return i;
    return -1;
}

const TRoundList DefaultWinPoints = {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 17};
const TRoundList DefaultByePoints = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
const TRoundList DefaultLosePoints = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 10};
const TRoundList DefaultStartTables = {50, 90, 1,  80, 110, 130, 140, 80,
                                       98, 30, 60, 90, 120, 148, 150};

}  // namespace kestrova

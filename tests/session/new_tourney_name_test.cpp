#include <gtest/gtest.h>

#include "common/datetime.h"
#include "session/lifecycle.h"

namespace kestrova {
namespace {

TEST(NewTourneyFileName, FormatDateStartAndForbiddenCharacters) {
    TLocaleInfo en;
    TDateTime dec5 = EncodeDateTime(2026, 12, 5, 23, 59);
    EXPECT_EQ(NewTourneyFileName("Default", "8:00 pm", dec5, en),
              "Default 05Dec26 800 pm Tournament");
    // Every forbidden character goes, wherever it stands.
    EXPECT_EQ(NewTourneyFileName("Spades: \"Pro\" <A|B>", "9.30*?/\\", dec5, en),
              "Spades Pro AB 05Dec26 930 Tournament");
    EXPECT_EQ(NewTourneyFileName("", "", EncodeDateTime(2027, 1, 9), en), " 09Jan27  Tournament");
    // The short month name comes from the locale; cp1252 letters stay.
    TLocaleInfo fr;
    fr.ShortMonthNames[1] = "f\xE9vr";
    EXPECT_EQ(NewTourneyFileName("Belote", "20h", EncodeDateTime(2026, 2, 14), fr),
              "Belote 14f\xE9vr26 20h Tournament");
}

}  // namespace
}  // namespace kestrova

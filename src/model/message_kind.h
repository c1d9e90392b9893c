#pragma once
// The twenty message templates and the parameters of one posting.
#include <array>
#include <cstdint>
#include <string>

#include "common/types.h"

namespace kestrova {

enum class TMessageKind : int {
    mkWelcome = 0,
    mkFormat,
    mkSignup,
    mkSignupNoPartner,
    mkNextAssign1,
    mkNextAssign2,
    mkNextAssignLoss1,
    mkNextAssignLoss2,
    mkNextAssignFinals1,
    mkNextAssignFinals2,
    mkThankYou,
    mkBye,
    mkBoot,
    mkBootReturned,
    mkBootTimedOut,
    mkAllStart,
    mkClosed,
    mkTimeWarning,
    mkThirdPlace,
    mkAnnounceWinners,
};
constexpr int MessageKindCount = 20;

// The key of a kind in the formats file ("Welcome" ... "Announce winners").
const char* MessageKey(TMessageKind kind);

struct TMsgParams {
    std::string PlayerName;
    std::string OpponentName;
    int32_t RoundIndex = 0;
    int32_t TableNo = 0;
    std::string StartTime;
    std::string RulesTime;
    std::string HostName;
    std::string CoHostName;
    int32_t BootSecondsLeft = 0;
    int32_t MinutesLeft = 0;
    TRoundList MatchPoints{};
    TRoundList TimeLimits{};
};

}  // namespace kestrova

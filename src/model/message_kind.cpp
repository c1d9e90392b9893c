#include "model/message_kind.h"

namespace kestrova {

const char* MessageKey(TMessageKind kind) {
    static const char* const kKeys[MessageKindCount] = {
        "Welcome",
        "Format",
        "Signup",
        "Signup (without team partner)",
        "Next assign (1 player)",
        "Next assign (2 players)",
        "Next assign loss (1p)",
        "Next assign loss (2p)",
        "Next assign FINALS",
        "Next assign FINALS (2p)",
        "Thank you",
        "Bye",
        "Boot",
        "Boot returned",
        "Boot timed out",
        "All start",
        "Closed",
        "Time warning",
        "3rd place announcement",
        "Announce winners",
    };
    int i = static_cast<int>(kind);
    return (i >= 0 && i < MessageKindCount) ? kKeys[i] : "";
}

}  // namespace kestrova

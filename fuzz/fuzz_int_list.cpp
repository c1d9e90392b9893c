// Integer lists from arbitrary text: every entry is a value of at most nine
// digits, and the written form reads back to the same 15 entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/int_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    kestrova::TRoundList list = kestrova::ParseIntList(text);
    for (int32_t v : list)
        if (v < 0 || v > 999999999) std::abort();
    if (kestrova::ParseIntList(kestrova::FormatIntList(list)) != list) std::abort();
    return 0;
}

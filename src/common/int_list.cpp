#include "common/int_list.h"

#include <algorithm>
#include <vector>

#include "common/text.h"

namespace kestrova {

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::vector<int32_t> ReadValues(std::string_view text) {
    std::vector<int32_t> values;
    size_t i = 0;
    const size_t n = text.size();
    while (static_cast<int>(values.size()) < IntListMaxValues) {
        while (i < n && text[i] == ' ')
            ++i;
        if (i >= n || !IsDigit(text[i])) break;
        int32_t v = 0;
        // A tenth digit is left for the next value, so no value overflows.
        for (int d = 0; d < IntListMaxDigits && i < n && IsDigit(text[i]); ++d, ++i)
            v = v * 10 + (text[i] - '0');
        values.push_back(v);
        while (i < n && text[i] == ' ')
            ++i;
        if (i < n && text[i] == ',') ++i;
    }
    return values;
}
}  // namespace

TRoundList ParseIntList(std::string_view text) {
    const std::vector<int32_t> v = ReadValues(text);
    const int n = static_cast<int>(v.size());
    TRoundList r{};
    if (n <= 2) {
        std::copy(v.begin(), v.end(), r.begin());
    } else if (n == RoundIndexCount) {
        std::copy(v.begin(), v.end(), r.begin());
    } else if (n < RoundIndexCount) {
        // These rounds, the last of them repeated up to round 13, then the
        // semi-final and the final.
        std::copy(v.begin(), v.begin() + (n - 2), r.begin());
        std::fill(r.begin() + (n - 2), r.begin() + 13, v[static_cast<size_t>(n - 3)]);
        r[13] = v[static_cast<size_t>(n - 2)];
        r[14] = v[static_cast<size_t>(n - 1)];
    } else {
        std::copy(v.begin(), v.begin() + 13, r.begin());
        r[13] = v[static_cast<size_t>(n - 2)];
        r[14] = v[static_cast<size_t>(n - 1)];
    }
    return r;
}

std::string FormatIntList(const TRoundList& list) {
    std::string out;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i) out += ',';
        out += Format("%d", list[i]);
    }
    return out;
}

}  // namespace kestrova

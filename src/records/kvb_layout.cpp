#include "records/kvb_layout.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "common/int_list.h"

namespace kestrova::kvb {

void TByteWriter::Int(int32_t v) {
    auto u = static_cast<uint32_t>(v);
    char b[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                 static_cast<char>((u >> 16) & 0xFF), static_cast<char>((u >> 24) & 0xFF)};
    out_.append(b, 4);
}

void TByteWriter::Date(double v) {
    auto u = std::bit_cast<uint64_t>(v);
    char b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
    out_.append(b, 8);
}

void TByteWriter::Text(std::string_view s, size_t n) {
    if (n == 0) return;
    size_t len = std::min(s.size(), n - 1);
    // A 0 byte inside the text would end it early on reading; cut there now so
    // that what is written is what comes back.
    size_t nul = s.substr(0, len).find('\0');
    if (nul != std::string_view::npos) len = nul;
    out_.append(s.data(), len);
    out_.append(n - len, '\0');
}

std::string_view TByteReader::Take(size_t n) {
    if (n > data_.size() - pos_) throw TKvbReject();
    std::string_view v = data_.substr(pos_, n);
    pos_ += n;
    return v;
}

int32_t TByteReader::Int() {
    std::string_view b = Take(4);
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i)
        u = (u << 8) | static_cast<uint8_t>(b[i]);
    return static_cast<int32_t>(u);
}

double TByteReader::Date() {
    std::string_view b = Take(8);
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i)
        u = (u << 8) | static_cast<uint8_t>(b[i]);
    double v = std::bit_cast<double>(u);
    // Every time is compared and subtracted; a NaN or infinity would poison the
    // match clock and the reports, so such a file is refused like any bad value.
    if (!std::isfinite(v)) throw TKvbReject();
    return v;
}

std::string TByteReader::Text(size_t n) {
    std::string_view b = Take(n);
    size_t end = b.find('\0');
    return std::string(b.substr(0, end == std::string_view::npos ? n : end));
}

void TByteReader::Skip(size_t n) {
    Take(n);
}

void TByteReader::Seek(size_t pos) {
    if (pos > data_.size()) throw TKvbReject();
    pos_ = pos;
}

std::string ListText(const TRoundList& list) {
    return FormatIntList(list);
}

TRoundList ParseListText(std::string_view text) {
    return ParseIntList(text);
}

// Entries 0-8 and 9-11 are the rule of the older files; what 12-14 get is our
// choice: 12 repeats entry 11, 13 and 14 take the second-last and last values,
// as the list rule does for the semi-final and the final.
TRoundList WidenOldList(const int32_t (&v)[old::ListValues]) {
    TRoundList out{};
    for (int i = 0; i < 9; ++i)
        out[i] = v[i];
    out[9] = v[8];
    out[10] = v[9];
    out[11] = v[10];
    out[12] = out[11];
    out[13] = v[9];
    out[14] = v[10];
    return out;
}

}  // namespace kestrova::kvb

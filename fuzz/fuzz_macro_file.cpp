// Feeds arbitrary bytes to the macro-file reader and every hot-key text and
// macro line it finds to their parsers; what the file writes must read back
// to the same file after at most one normalising round.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "lobby/hot_key.h"
#include "lobby/macro_file.h"

namespace {
void CheckHotKey(const std::string& text) {
    const auto key = kestrova::ParseHotKey(text);
    if (!key) return;
    const auto again = kestrova::ParseHotKey(kestrova::FormatHotKey(*key));
    if (!again || !(*again == *key)) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckHotKey(bytes);
    kestrova::TMacroFile f;
    f.LoadFromText(bytes);
    for (const auto& b : f.HotKeys)
        CheckHotKey(b.Text);
    for (const auto& m : f.Macros) {
        if (f.IndexOf(m.Name) < 0) std::abort();
        for (const auto& line : m.Lines) {
            const auto ms = kestrova::DelayMilliseconds(line);
            if (ms && *ms < 0) std::abort();
            if (kestrova::UnquoteMacroLine(kestrova::QuoteMacroLine(line)) != line) std::abort();
        }
    }
    f.TidyToolbar();
    f.LoadFromText(f.SaveToText());
    const std::string second = f.SaveToText();
    f.LoadFromText(second);
    if (f.SaveToText() != second) std::abort();
    return 0;
}

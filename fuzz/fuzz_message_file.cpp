// Feeds arbitrary bytes to the sectioned-file reader, then checks that what it
// writes reads back to the same file (after at most one normalising round).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formats/message_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    kestrova::TMessageFile f("unused");
    f.LoadFromText(bytes);
    for (int i = 0; i < f.Count(); ++i) {
        if (f.Find(f.Name(i)) != &f.Lines(i)) std::abort();
        for (const auto& line : f.Lines(i))
            if (line.size() < 3 || line[0] == '[') std::abort();
    }
    // An empty section name writes a two-character header that the next read
    // drops, so the text settles after the second round at the latest.
    f.LoadFromText(f.SaveToText());
    const std::string second = f.SaveToText();
    f.LoadFromText(second);
    if (f.SaveToText() != second) std::abort();
    return 0;
}

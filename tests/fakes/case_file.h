#pragma once
// Cases and expected outputs kept as text in tests/data, played by one
// runner per subject.
//
// A case file holds cases, each opened by a line "== title". A case is a
// list of fields "key = value" or a bare "key" (a key may repeat, the value
// of a bare key is empty); "key <<<" takes the lines
// up to ">>>" as one value joined by "\n". Values are unescaped: \r \n \t
// \\ \xHH \0, and \s for a space that must not be trimmed. Lines starting
// with '#' and blank lines outside a block are skipped.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrova::testing {

struct TCase {
    std::string Title;
    int Line = 0;  // where the case starts, for failure messages
    std::vector<std::pair<std::string, std::string>> Fields;

    bool Has(std::string_view key) const;
    std::string Get(std::string_view key, const std::string& otherwise = "") const;
    std::vector<std::string> All(std::string_view key) const;
    std::string Where() const;  // "file:line title"
    std::string File;
};

std::string DataPath(const std::string& name);  // under tests/data
// "LEFT -> RIGHT" split at its arrow; either side may be empty.
std::pair<std::string, std::string> Arrow(const std::string& value);
std::string Unescape(std::string_view text);
std::vector<TCase> ReadCases(const std::string& name);
std::vector<std::string> SplitLines(const std::string& text);  // CR LF, LF or CR
std::string JoinLines(const std::vector<std::string>& lines, const std::string& end);
// A block's lines, each ended by CR LF as the files on disk are; nothing for
// an empty block.
std::string CrLf(const std::string& block);

// Compares `actual` with the data file `name` line by line, naming the first
// line that differs; with KESTROVA_WRITE_GOLDEN set it rewrites the file
// instead (to be read and checked by hand before it is committed).
void ExpectGolden(const std::string& name, const std::string& actual);

}  // namespace kestrova::testing

#pragma once
// Moving formats between files: exporting to ".kvbf" files, merging exported
// formats into the formats file, and the one-time rewrite of old templates.
#include <string>
#include <vector>

#include "formats/tourney_format.h"

namespace kestrova {

class TTourneyState;

// Turns the second "%p" of every line of every section into "%o" (templates
// written before the opponent token existed). Only the changed lines differ
// afterwards; the old file is kept as ".bak". Returns the number of changed
// lines; a missing file changes nothing.
int UpgradeOpponentTokens(const std::string& formatsPath);
int UpgradeOpponentTokens(TTourneyState& s);

// The exported form: "[" name "]" CR LF, each line and CR LF, one more CR LF.
std::string ExportText(const std::vector<TTourneyFormat>& formats);
// Writes the formats to an export file, creating it or appending to its end.
void ExportFormats(const std::string& path, const std::vector<TTourneyFormat>& formats,
                   bool append);
// The formats of an export (or formats) file; empty when it does not exist.
std::vector<TTourneyFormat> ReadFormatsFile(const std::string& path);

// The host's answer for a chosen format whose name is already in the file.
enum class TMergeChoice { Overwrite, Skip, Rename, Cancel };
struct TMergeAnswer {
    TMergeChoice Choice = TMergeChoice::Skip;
    std::string NewName;  // for Rename: the name the host accepted
};

// Asks the overwrite / skip / rename question of the merge dialog.
class IMergeResolver {
public:
    virtual ~IMergeResolver() = default;
    // `proposal` is the free name "%s (%d)" offered for a rename.
    virtual TMergeAnswer AskExisting(const std::string& name, const std::string& proposal) = 0;
};

// The lowest "name (n)", n = 2, 3, ..., that no format of the list uses.
std::string RenameProposal(const std::vector<TTourneyFormat>& formats, const std::string& name);

// Merges the chosen formats into the formats file: new names are appended,
// existing ones handled as the resolver answers. The old file is copied to
// ".bak" and the file rewritten whole. False when the host cancelled; nothing
// is written then.
bool MergeFormats(const std::string& formatsPath, const std::vector<TTourneyFormat>& chosen,
                  IMergeResolver& resolver);

}  // namespace kestrova

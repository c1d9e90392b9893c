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
// The formats of an export file, in file order, repeated names included;
// empty when it does not exist.
std::vector<TTourneyFormat> ReadFormatsFile(const std::string& path);
// Copies the formats file to ".bak" and rewrites it whole with the formats
// (the format manager's OK, the end of a merge).
void WriteFormatsFile(const std::string& path, const std::vector<TTourneyFormat>& formats);

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

// A format of an export file offered by the merge dialog, with the file's
// name without folder and extension.
struct TImportedFormat {
    TTourneyFormat Format;
    std::string FileLabel;
};
// Every named section of the files, in file order, repeats included. A
// section without a name is left out: it could not be written back.
std::vector<TImportedFormat> ImportableFormats(const std::vector<std::string>& paths);

}  // namespace kestrova

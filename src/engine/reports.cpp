#include "engine/reports.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "common/datetime.h"
#include "common/file_util.h"
#include "common/text.h"
#include "engine/report_parts.h"
#include "engine/status.h"
#include "engine/tourney_file.h"

namespace kestrova {

std::string ProgramVersion() {
    return Format("%d.%d.%d.%d", KESTROVA_VERSION_MAJOR, KESTROVA_VERSION_MINOR,
                  KESTROVA_VERSION_PATCH, KESTROVA_VERSION_BUILD);
}

std::string JoinReportLines(const TReportLines& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

namespace report {

const char* const GenerateError =
    "An error occured generating the text file, not all information will be saved";

std::string SeatName(const TTableRec& t, int seat) {
    if (seat < 0 || seat > 1 || !t.Seat[seat]) return "";
    return t.Seat[seat]->Name;
}

bool Listed(const TTableRec& t) { return t.Result >= 1 && t.Result <= 3; }

TDateTime ReportDate(TTourneyState& s) {
    // A started tournament whose first table never started has no date of
    // its own; today is better than 1899.
    const TDateTime first = s.Winners[0].Tables[0].StartTime;
    return s.Started && first != 0 ? first : s.Now();
}

std::string HostLine(const std::string& prefix, const std::string& name,
                     const std::string& player) {
    return prefix + name + " (" + player + ")";
}

}  // namespace report

namespace {

using namespace report;

int RoundTables(const TRoundRec& round) { return std::clamp(round.TableCount, 0, MaxTablesPerRound); }

void AddHeading(TReportLines& out, const std::string& title) {
    out.push_back(title);
    out.push_back(std::string(title.size(), '-'));
}

void AddTable(TReportLines& out, const TTableRec& t) {
    if (t.Seat[1]) {
        out.push_back(Format("Table %3d: %15s - %s", t.TableNo, SeatName(t, 0).c_str(),
                             t.Result == 1 ? "W" : "L"));
        out.push_back(Format("           %15s - %s", SeatName(t, 1).c_str(),
                             t.Result == 2 ? "W" : "L"));
    } else {
        out.push_back(Format("Table %3d: %15s - B", t.TableNo, SeatName(t, 0).c_str()));
    }
    out.push_back("");
}

void AddRoundTables(TReportLines& out, const TRoundRec& round) {
    for (int i = 0; i < RoundTables(round); ++i)
        if (Listed(round.Tables[i])) AddTable(out, round.Tables[i]);
}

void AddCommonHeader(TTourneyState& s, TReportLines& out, bool csv) {
    const TMsgParams& m = s.MsgParams;
    const std::string date = FormatDateTime("mm/dd/yyyy", ReportDate(s), s.Locale);
    if (csv) {
        out.push_back("KVB Version," + ProgramVersion());
        out.push_back("Tournament," + CsvQuoted(CurrentFormatName(s)));
        out.push_back("Date," + date);
        out.push_back("Time," + CsvQuoted(m.StartTime));
        out.push_back("Host,\"" + m.HostName + "\"," + s.HostPlayerName);
        if (!m.CoHostName.empty())
            out.push_back("Co-host,\"" + m.CoHostName + "\"," + s.CoHostPlayerName);
        out.push_back(Format("Number of Players,%d", static_cast<int>(s.Players.size())));
        return;
    }
    out.push_back("KVB Version " + ProgramVersion());
    out.push_back("Tournament:  " + CurrentFormatName(s));
    out.push_back("Date:  " + date);
    out.push_back("Time:  " + m.StartTime);
    out.push_back(HostLine("Host:  ", m.HostName, s.HostPlayerName));
    if (!m.CoHostName.empty()) out.push_back(HostLine("Co-host:  ", m.CoHostName, s.CoHostPlayerName));
    out.push_back(Format("Number of Players:  %d", static_cast<int>(s.Players.size())));
}

void TextBody(TTourneyState& s, TReportLines& out) {
    const bool single = s.ElimFormat == TElimFormat::Single;
    AddCommonHeader(s, out, false);
    out.push_back("");
    if (!single) {
        AddHeading(out, "Winner's Bracket");
        out.push_back("");
    }
    const int grandFinal = std::clamp(s.GrandFinalRound, 0, MaxRounds - 1);
    for (int r = 0; r < grandFinal; ++r) {
        if (r == s.WinnersFinalRound)
            AddHeading(out, single ? "Semi-Final" : "Winners-Final");
        else
            AddHeading(out, Format("Round %d", r + 1));
        AddRoundTables(out, s.Winners[r]);
    }
    const TTableRec& final = s.Winners[grandFinal].Tables[0];
    if (Listed(final)) {
        AddHeading(out, "Final");
        out.push_back(Format("Table %3d: %15s - %s   Email: %s", final.TableNo,
                             SeatName(final, 0).c_str(), final.Result == 1 ? "W" : "L",
                             s.EmailFields[0].c_str()));
        out.push_back(Format("           %15s - %s   Email: %s", SeatName(final, 1).c_str(),
                             final.Result == 2 ? "W" : "L", s.EmailFields[1].c_str()));
        out.push_back("");
    }
    if (single) return;
    out.push_back("");
    AddHeading(out, "One-Loss Bracket");
    out.push_back("");
    const int last = std::min(s.OneLossFinalRound, MaxRounds - 1);
    for (int r = 1; r <= last; ++r) {
        AddHeading(out, r == s.OneLossFinalRound ? "Semi-Final" : Format("Round %d", r + 1));
        AddRoundTables(out, s.OneLoss[r]);
    }
}

// Minutes between two times, halves rounded to even.
long long DurationMinutes(TDateTime start, TDateTime end) {
    const double minutes = std::clamp((end - start) * 1440.0, -1e15, 1e15);
    return static_cast<long long>(std::nearbyint(minutes));
}

std::string CsvRow(const TTourneyState& s, const TTableRec& t, int r, TBracketKind b) {
    const int points = s.MsgParams.MatchPoints[GetRoundIndex(s, r, b)];
    std::string row = Format("%s,%d,%d,%s,%s,", RoundLabel(s, r, b).c_str(), t.TableNo, points,
                             SeatName(t, t.Result - 1).c_str(), SeatName(t, t.Result & 1).c_str());
    if (t.StartTime == 0) return row + ",,";
    row += FormatDateTime("hh:nn:ss", t.StartTime, s.Locale) + ",";
    if (t.EndTime == 0) return row + ",";
    return row + Format("%lld,", DurationMinutes(t.StartTime, t.EndTime)) +
           FormatDateTime("hh:nn:ss", t.EndTime, s.Locale);
}

void CsvBody(TTourneyState& s, TReportLines& out) {
    static const char* const titles[3] = {"Winners Bracket", "One-Loss Bracket", "Two-Loss Bracket"};
    AddCommonHeader(s, out, true);
    for (int b = 0; b < s.BracketCount(); ++b) {
        const auto kind = static_cast<TBracketKind>(b);
        out.push_back("");
        out.push_back(titles[b]);
        out.push_back("Round,Table,Points,Winner,Loser,Started,Duration,Finished");
        const TBracket& bracket = s.Bracket(kind);
        for (int r = 0; r < MaxRounds; ++r)
            for (int i = 0; i < RoundTables(bracket[r]); ++i)
                if (Listed(bracket[r].Tables[i]))
                    out.push_back(CsvRow(s, bracket[r].Tables[i], r, kind));
    }
}

// Builds with `body`; an error midway is shown and what was built is kept.
TReportLines Build(TTourneyState& s, void (*body)(TTourneyState&, TReportLines&)) {
    TReportLines lines;
    try {
        body(s, lines);
    } catch (const std::exception&) {
        s.Dialogs().MessageBox(TMessageBoxKind::Error, GenerateError);
    }
    return lines;
}

}  // namespace

namespace report {
std::string CsvQuoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}
}  // namespace report

TReportLines BuildTextReport(TTourneyState& s) { return Build(s, &TextBody); }
TReportLines BuildCsvReport(TTourneyState& s) { return Build(s, &CsvBody); }

void WriteTextReport(TTourneyState& s, const std::string& path) {
    WriteFileAtomically(path, JoinReportLines(BuildTextReport(s)));
}

void WriteCsvReport(TTourneyState& s, const std::string& path) {
    WriteFileAtomically(path, JoinReportLines(BuildCsvReport(s)));
}

bool WriteResultsReport(TTourneyState& s, const std::string& path) {
    TReportLines lines;
    if (!BuildResultsReport(s, lines)) return false;
    WriteFileAtomically(path, JoinReportLines(lines));
    return true;
}

bool SaveAsType(TTourneyState& s, const std::string& path, TSaveAsType type) {
    switch (type) {
        case TSaveAsType::ResultsReport: return WriteResultsReport(s, path);
        case TSaveAsType::Tourney: return SaveTourneyAs(s, path);
        case TSaveAsType::TextExport: WriteTextReport(s, path); return true;
        case TSaveAsType::CsvExport: WriteCsvReport(s, path); return true;
    }
    return false;
}

}  // namespace kestrova

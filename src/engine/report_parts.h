#pragma once
// Pieces the three reports share (not for use outside them).
#include <string>

#include "model/tourney_state.h"

namespace kestrova::report {

extern const char* const GenerateError;
// The name in a seat; empty for an empty seat or a seat index out of 0..1.
std::string SeatName(const TTableRec& t, int seat);
// A table the reports list: Result 1, 2 or 3 (open, voided and both-quit tables are not).
bool Listed(const TTableRec& t);
// The start of the first Winners table once started, else today.
TDateTime ReportDate(TTourneyState& s);
// prefix + name + " (" + player + ")".
std::string HostLine(const std::string& prefix, const std::string& name, const std::string& player);
// Between double quotes, an inner double quote doubled.
std::string CsvQuoted(const std::string& text);

}  // namespace kestrova::report

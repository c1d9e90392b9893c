// The format editor and "Host Details" driven through their widgets from
// tests/data/formats/format_edit_form.txt: the fields of the lines and their
// limits, each field writing its key at once with the sample following, the
// sub-dialogs handed their values and writing back, and the host details
// stored on OK only.
#include <gtest/gtest.h>

#include "common/int_list.h"
#include "common/text.h"
#include "fakes/fake_ports.h"
#include "formats/format_defaults.h"
#include "formats/format_forms.h"

namespace kestrova::testing {
namespace {

using Lines = std::vector<std::string>;

Lines Split(const std::string& v) {  // " | " between the lines
    Lines out;
    for (size_t from = 0, bar = 0; !v.empty() && bar != std::string::npos; from = bar + 3)
        out.push_back(v.substr(from, (bar = v.find(" | ", from)) - from));
    return out;
}

// Sub-dialogs that note what they are handed and answer as a host would.
TFormatEditorServices RecordingServices(Lines& handed) {
    TFormatEditorServices sv;
    sv.EditCustomPoints = [&](QWidget*, const TCustomPoints& p) -> std::optional<TCustomPoints> {
        handed.push_back("custom " + FormatIntList(p.Tiers[4]));
        TCustomPoints out = p;
        out.SameForAll = false;
        out.Tiers[4] = ParseIntList("9");
        out.Elim = TCustomElim::Fourth;
        return out;
    };
    sv.EditTimeLimits = [&](QWidget*, const std::optional<TRoundList>& given) {
        handed.push_back(given ? "limits " + FormatIntList(*given) : "limits none");
        return std::optional<TRoundList>(ParseIntList("30,60"));
    };
    sv.EditStartTables = [&](QWidget*, const TRoundList& t) {
        handed.push_back("tables " + FormatIntList(t));
        return std::optional<TRoundList>();  // Cancel
    };
    sv.EditPlayerPoints = [&](QWidget*, const TPlayerPointsFields& p) {
        handed.push_back("points " + std::to_string(p.Place[0]) +
                         (p.PlaceExactly[0] ? " exactly" : ""));
        TPlayerPointsFields out = p;
        out.Place[1] = 4;
        out.PlaceExactly[1] = true;
        return std::optional<TPlayerPointsFields>(out);
    };
    sv.PickSymbol = [](QWidget*) { return std::optional<QString>(QString::fromUtf8("\u2022")); };
    return sv;
}

TEST(FormatEditForms, EachCaseAsWritten) {
    for (const TCase& c : ReadCases("formats/format_edit_form.txt")) {
        TTourneyState s;
        FakeWorld world;
        world.Wire(s);
        Lines handed;
        std::unique_ptr<QDialog> form;
        auto edit = [&]() -> TFormatEditForm& { return dynamic_cast<TFormatEditForm&>(*form); };
        TFormScript script;
        script.Names = FormatFormNames;
        script.Open = [&](const std::string& kind) {
            form.reset();
            if (kind == "host details") {
                form = std::make_unique<THostDetailsForm>(s);
                form->show();
                return form.get();
            }
            const auto [what, lines] = Arrow(kind);
            const Lines names = {"Default", "Spades"};
            const TFormatEditorServices services =
                what == "editor" ? TFormatEditorServices{} : RecordingServices(handed);
            form = std::make_unique<TFormatEditForm>(s, TTourneyFormat{"Spades", Split(lines)},
                                                     names, services);
            form->show();
            return form.get();
        };
        script.Other = [&](const std::string& key, const std::string& v) {
            if (key == "lines")
                EXPECT_EQ(JoinLines(edit().Lines(), "\n"), JoinLines(Split(v), "\n"));
            else if (key == "last line")
                EXPECT_EQ(edit().Lines().back(), v);
            else if (key.rfind("value ", 0) == 0)
                EXPECT_EQ(KeyValue(edit().Lines(), key.substr(6)), v);
            else if (key == "no value")
                EXPECT_FALSE(FindKeyValue(edit().Lines(), v));
            else if (key == "handed")
                EXPECT_EQ(JoinLines(handed, "\n"), JoinLines(Split(v), "\n"));
            else if (key == "rejected")
                EXPECT_EQ(form->result(), QDialog::Rejected);
            else if (key == "host")
                s.MsgParams.HostName = v;
            else if (key == "co-host player")
                s.CoHostPlayerName = v;
            else if (key == "unscheduled co-host")
                s.UnscheduledCoHost = true;
            else if (key == "stored details")
                EXPECT_EQ(s.MsgParams.HostName + "|" + s.MsgParams.CoHostName + "|" +
                              s.HostPlayerName + "|" + s.CoHostPlayerName +
                              Format("|%d|%d", s.UnscheduledHost, s.UnscheduledCoHost),
                          v);
            else
                return false;
            return true;
        };
        script.Play(nullptr, c);
    }
}

}  // namespace
}  // namespace kestrova::testing

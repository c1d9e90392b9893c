// Whole-window timings, offscreen: a win click at 128 entries in Triple until
// the view is fully updated (events processed), and cold start to the window
// shown. Prints the medians and the machine.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "common/datetime.h"
#include "engine/table_count.h"
#include "ui/kestrova_form.h"
#include "ui/timing_host.h"

using namespace kestrova;

namespace {

class QuietDialogs : public IDialogs {};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A clock one second further on each time the tick asks for a new second.
class StepClock : public IClock {
  public:
    TDateTime Time = EncodeDateTime(2026, 12, 5, 21, 0, 0);
    TDateTime Now() override { return Time; }
};

// The running tables of a round.
int Running(const TRoundRec& r) {
    int n = 0;
    for (int t = 0; t < r.TableCount; ++t)
        n += r.Tables[t].StartTime > 0 && r.Tables[t].EndTime == 0;
    return n;
}

// Ticks with every view on its busiest round, some tables overdue (blinking),
// the remaining-time display on and three boots running. Returns the median
// of the tick alone and of the tick with its repaint.
std::pair<double, double> TimeTicks(TKestrovaForm& form, int& runningTables) {
    TTourneyState& s = form.State();
    StepClock clock;
    clock.Time = s.Now();
    s.Ports.Clock = &clock;
    s.MsgParams.TimeLimits.fill(45);
    s.Settings.DisplayMatchTimeRemaining = true;
    runningTables = 0;
    for (int b = 0; b < 3; ++b) {
        const auto kind = static_cast<TBracketKind>(b);
        int best = b;
        for (int r = b; r < MaxRounds; ++r) {
            runningTables += Running(s.Bracket(kind)[r]);
            if (Running(s.Bracket(kind)[r]) > Running(s.Bracket(kind)[best])) best = r;
        }
        form.Panel(kind)->Tabs()->setCurrentIndex(best - b);
        TRoundRec& round = s.Bracket(kind)[best];
        for (int t = 0; t < round.TableCount; t += 3)  // every third one overdue
            if (round.Tables[t].StartTime > 0) round.Tables[t].StartTime -= 50.0 / 1440;
    }
    int boots = 0;
    for (auto& p : s.Players)
        if (boots < 3 && p->CurrentTable() && p->CurrentTable()->Result == 0) {
            p->BootStart = clock.Time;
            s.ActiveBoots.push_back(p.get());
            ++boots;
        }
    QApplication::processEvents();
    std::vector<double> ticks, painted;
    for (int i = 0; i < 300; ++i) {
        clock.Time += 1.0 / SecondsPerDay;
        QElapsedTimer timer;
        timer.start();
        form.Timing().Tick();
        ticks.push_back(timer.nsecsElapsed() / 1e3);
        QApplication::processEvents();
        painted.push_back(timer.nsecsElapsed() / 1e3);
    }
    for (TPlayer* p : s.ActiveBoots)
        p->BootStart = 0;
    s.ActiveBoots.clear();
    s.Ports.Clock = nullptr;
    return {Median(ticks), Median(painted)};
}


std::string Cpu() {
    std::ifstream f("/proc/cpuinfo");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown";
}

std::unique_ptr<TKestrovaForm> MakeForm(const std::string& folder) {
    TFormPorts ports;
    ports.Dialogs = std::make_unique<QuietDialogs>();
    auto form = std::make_unique<TKestrovaForm>(std::move(ports));
    // KESTROVA_BENCH_NOFILE=1 leaves the tournament without a file (no log, no
    // save), to tell the view's share from the disk's.
    if (qgetenv("KESTROVA_BENCH_NOFILE").isEmpty())
        form->State().TourneyPath = folder + "bench.kvb";
    form->State().Settings.FilesFolder = folder;
    return form;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    char tmpl[] = "/tmp/kestrova-bench-XXXXXX";
    const std::string folder = std::string(mkdtemp(tmpl)) + "/";

    std::vector<double> starts;
    for (int i = 0; i < 9; ++i) {
        QElapsedTimer t;
        t.start();
        auto form = MakeForm(folder);
        form->show();
        QApplication::processEvents();
        starts.push_back(t.nsecsElapsed() / 1e6);
    }

    auto form = MakeForm(folder);
    form->show();
    form->Menus().Triple->trigger();
    for (int i = 0; i < 128; ++i) {
        form->AddFind()->AddEdit()->setText(QString("Bench%1").arg(i));
        emit form->AddFind()->AddEdit()->returnPressed();
    }
    form->Menus().Close->trigger();
    QApplication::processEvents();
    TBracketPanel* w = form->Panel(TBracketKind::Winners);
    std::vector<double> clicks, handled;
    for (int round = 0; round < 3; ++round) {
        w->Tabs()->setCurrentIndex(round);
        QApplication::processEvents();
        const TRoundRec& r = form->State().Winners[round];
        for (int t = 0; t < r.TableCount; ++t) {
            if (!r.Tables[t].Full() || r.Tables[t].Result != 0) continue;
            QElapsedTimer timer;
            timer.start();
            w->Box(t)->Seat(0).Win->click();  // the real button, as a mouse click would
            handled.push_back(timer.nsecsElapsed() / 1e6);
            QApplication::processEvents();
            clicks.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    std::printf("machine: %s, %d entries, %zu clicks\n", Cpu().c_str(),
                static_cast<int>(form->State().Players.size()), clicks.size());
    std::printf("ui_click format=Triple entries=128 median_ms=%.2f\n", Median(clicks));
    std::printf("(of which the click handler, engine and box updates: median_ms=%.2f)\n",
                Median(handled));
    std::printf("ui_start median_ms=%.2f\n", Median(starts));
    int running = 0;
    const auto [tick, painted] = TimeTicks(*form, running);
    std::printf("ui_tick format=Triple entries=128 running_tables=%d median_us=%.0f\n", running,
                tick);
    std::printf("(with the repaint it causes, offscreen: median_us=%.0f)\n", painted);
    return 0;
}

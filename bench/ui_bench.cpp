// Whole-window timings, offscreen: a win click at 128 entries in Triple until
// the view is fully updated (events processed), and cold start to the window
// shown. Prints the medians and the machine.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "engine/table_count.h"
#include "ui/kestrova_form.h"

using namespace kestrova;

namespace {

class QuietDialogs : public IDialogs {};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
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
    return 0;
}

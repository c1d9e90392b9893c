#pragma once
// The friends-list assistant as the main window holds it: the platform's
// pieces, a message loop on Qt's, the assistant and its window side.
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "lobby/friends_ports.h"
#include "lobby/rapid_assign.h"
#include "lobby/rapid_assign_control.h"

namespace kestrova {

// Posted calls and the timer on the user-interface thread's event loop.
// Every call runs through `runner` (the window's command wrapper), so what
// it changes is drawn once when it is done.
class TQtRapidAssignLoop : public IRapidAssignLoop {
  public:
    explicit TQtRapidAssignLoop(std::function<void(const std::function<void()>&)> runner);
    void Post(std::function<void()> call) override;
    void StartTimer(int milliseconds, std::function<void()> tick) override;
    void StopTimer() override;

  private:
    std::function<void(const std::function<void()>&)> runner_;
    QObject context_;  // posted calls die with it
    QTimer timer_;
    std::function<void()> tick_;
};

struct TRapidAssignUi {
    TRapidAssignUi(TTourneyState& state, TFriendsPlatform platform,
                   std::function<void(const std::function<void()>&)> runner);
    ~TRapidAssignUi();
    TFriendsPlatform Platform;
    std::unique_ptr<IDiagnostics> Diagnostics;
    TQtRapidAssignLoop Loop;
    std::unique_ptr<TRapidAssign> Assistant;
    std::unique_ptr<TRapidAssignControl> Control;
};

}  // namespace kestrova

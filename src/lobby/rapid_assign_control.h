#pragma once
// The main window's side of the friends-list assistant: the menu items and
// their state, the clear-the-list question, signing up the names the list
// gains (or loses), the nick-change notice, and the lifecycle hooks of a new
// tournament, the close of sign-ups and an opened file. The window only
// shows what this holds and forwards its menu items here.
#include <functional>
#include <string>
#include <vector>

#include "lobby/rapid_assign.h"
#include "model/tourney_state.h"

namespace kestrova {

enum class TRapidAssignMode { Added, Removed };

// One line of the "Unrestored ZoneFriends Lists" dialog.
struct TUnrestoredList {
    std::string Nick;
    bool Ticked = true;
};

class TRapidAssignControl : public IRapidAssign {
  public:
    // Becomes the state's RapidAssign port and takes the assistant's events.
    TRapidAssignControl(TTourneyState& state, TRapidAssign& assistant);
    ~TRapidAssignControl() override;
    TRapidAssignControl(const TRapidAssignControl&) = delete;
    TRapidAssignControl& operator=(const TRapidAssignControl&) = delete;

    TRapidAssign& Assistant() { return ra_; }
    // "&Rapid-assign Active": enabled, and checked while active.
    bool MenuEnabled() const { return menuEnabled_; }
    bool Checked() const { return ra_.Active(); }
    // "Search for &unrestored ZF lists..." is usable only while inactive.
    bool SearchEnabled() const { return !ra_.Active(); }
    TRapidAssignMode Mode() const { return mode_; }
    // Told after every change of the above.
    std::function<void()> OnMenuChanged;

    void ActiveClicked();
    void ModeChosen(TRapidAssignMode mode);
    // "Friends list folder...": the host picks the folder of the nick folders.
    void ChooseFolder();
    // The search: the nicks with a backup, each ticked but the active one;
    // none found shows the information box and gives an empty list.
    std::vector<TUnrestoredList> SearchUnrestored();
    // "Restore" of the dialog.
    void RestoreLists(const std::vector<TUnrestoredList>& lists);

    // IRapidAssign
    void RemoveName(const std::string& name) override;
    void SignupsClosed() override;
    void TourneyOpened() override;
    void NewTourney(int choice) override;

  private:
    void AskToClearList();
    void SignUp(const std::string& name);
    void PlayerAdded(const std::string& name);
    void PlayerRemoved(const std::string& name);
    void NameChanged();
    void Changed();

    TTourneyState& s_;
    TRapidAssign& ra_;
    bool menuEnabled_ = true;
    TRapidAssignMode mode_ = TRapidAssignMode::Added;
    // The bracket-full box was shown and nothing left since: further names
    // of the list are not offered again, so a long list is one box, not many.
    bool fullShown_ = false;
};

// Diagnostics where no debugger output exists: standard error and the
// tournament's event log.
class TLogDiagnostics : public IDiagnostics {
  public:
    explicit TLogDiagnostics(const TTourneyState& state) : s_(state) {}
    void Output(const std::string& line) override;

  private:
    const TTourneyState& s_;
};

}  // namespace kestrova

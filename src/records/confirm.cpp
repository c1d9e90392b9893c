#include "records/confirm.h"

#include "model/tourney_state.h"

namespace kestrova {

bool AskConfirm(TTourneyState& state, uint32_t bit, const std::string& text) {
    if (state.Settings.ConfirmNotifyFilter & bit) return true;
    TConfirmAnswer a = state.Dialogs().ConfirmDlg(text);
    if (!a.Yes) return false;
    if (a.DontAskAgain) {
        state.Settings.ConfirmNotifyFilter |= bit;
        SaveSettings(state);
    }
    return true;
}

void ShowNotice(TTourneyState& state, uint32_t bit, const std::string& text) {
    if (state.Settings.ConfirmNotifyFilter & bit) return;
    if (state.Dialogs().NotifyDlg(text)) {
        state.Settings.ConfirmNotifyFilter |= bit;
        SaveSettings(state);
    }
}

}  // namespace kestrova

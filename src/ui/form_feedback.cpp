// What keeps the host's work from being lost and shows what a click did: the
// save question before an unsaved tournament is discarded, the status-bar
// note of a posting and the result of a finished tournament.

#include "common/cp1252.h"
#include "formats/messages.h"
#include "ui/kestrova_form.h"

namespace kestrova {

namespace {
QString Q(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}
// How long a posting's note stays in the status bar.
constexpr int PostedNoteMilliseconds = 6000;
}  // namespace

void TKestrovaForm::StatusMessage(const std::string& text) {
    posted_->setText(Q(text));
    posted_->setToolTip(Q(text));
    if (text.empty()) return postedTimer_.stop();
    postedTimer_.start(PostedNoteMilliseconds);
}

bool TKestrovaForm::ConfirmDiscard() {
    // A tournament with a path is saved after every change: nothing to lose.
    if (discardAgreed_ || !state_.TourneyPath.empty() || state_.Players.empty()) return true;
    if (!state_.Dialogs().YesNo("This tournament has not been saved to a file.\r\n\r\n"
                                "Do you want to save it?"))
        return true;
    // Cancelling the save dialog (or saving only a report) keeps it open.
    SaveAsCommand();
    return !state_.TourneyPath.empty();
}

void TKestrovaForm::ShowResult() {
    const TFinalPlaces places = FinalPlaces(state_);
    QStringList parts;
    if (!places.First.empty()) parts << "Champion: " + Q(places.First);
    if (!places.Second.empty()) parts << "Second: " + Q(places.Second);
    if (!places.Third.empty()) parts << "Third: " + Q(places.Third);
    result_->setText(parts.join("     "));
    result_->setVisible(!parts.isEmpty());
}

}  // namespace kestrova

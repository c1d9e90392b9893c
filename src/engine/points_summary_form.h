#pragma once
// "Points Summary", the window of "Edit and send points...": the results
// report as editable text, with Copy, Save, E-mail and Close.
#include <QDialog>
#include <QPlainTextEdit>
#include <functional>

#include "model/tourney_state.h"

namespace kestrova {

class TPointsSummaryForm : public QDialog {
    Q_OBJECT
  public:
    // The save dialog: the chosen path, or empty on Cancel.
    using TChooseFile = std::function<QString(QWidget* parent, const QString& start)>;

    TPointsSummaryForm(TTourneyState& s, const std::string& text, QWidget* parent = nullptr);
    void SetChooseFile(TChooseFile choose) { choose_ = std::move(choose); }
    QPlainTextEdit* Text() const { return text_; }
    // The edited text as cp1252 with CR LF line ends.
    std::string FileText() const;

    void CopyClicked();
    void SaveClicked();
    void EmailClicked();

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    TTourneyState& s_;
    QPlainTextEdit* text_ = nullptr;
    TChooseFile choose_;
};

// Hands the file to the system's mail program with the subject; false
// when no mail program could be started.
bool SendFileByMail(const std::string& path, const std::string& subject);

// "Edit and send points...": saves, builds the report and shows the
// window, or nothing when the report cannot be built.
void RunEditAndSendPoints(TTourneyState& s, QWidget* parent,
                          const std::function<void(TPointsSummaryForm&)>& prepare = {});

}  // namespace kestrova

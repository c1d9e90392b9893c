#include "engine/points_summary_form.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QProcess>
#include <QPushButton>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <stdexcept>

#include "common/file_util.h"
#include "engine/reports.h"
#include "engine/tourney_file.h"
#include "kit/dialog_util.h"
#include "records/event_log.h"

namespace kestrova {

namespace {

const char* const kNoMailProgram =
    "No mail program could be started. The points were written to this file, which you can "
    "attach to a message yourself:\n";

QString DefaultChooseFile(QWidget* parent, const QString& start) {
    QFileDialog dialog(parent, "Save Points File", start, "Points File (*.txt)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("txt");
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

}  // namespace

TPointsSummaryForm::TPointsSummaryForm(TTourneyState& s, const std::string& text, QWidget* parent)
    : QDialog(parent), s_(s), choose_(&DefaultChooseFile) {
    setWindowTitle("Points Summary");
    resize(480, 520);
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("PointsText");
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString shown = ToQ(text);
    shown.replace("\r\n", "\n");
    text_->setPlainText(shown);
    layout->addWidget(text_);
    auto* row = new QHBoxLayout;
    auto button = [&](const char* caption, void (TPointsSummaryForm::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b);
    };
    button("Copy", &TPointsSummaryForm::CopyClicked);
    button("Save", &TPointsSummaryForm::SaveClicked);
    button("E-mail", &TPointsSummaryForm::EmailClicked);
    row->addStretch();
    auto* close = new QPushButton("Close", this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(close);
    layout->addLayout(row);
}

std::string TPointsSummaryForm::FileText() const {
    std::string text = FromQ(text_->toPlainText());
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

void TPointsSummaryForm::CopyClicked() { s_.Lobby().SetClipboard(FileText()); }

void TPointsSummaryForm::SaveClicked() {
    const QString start = ToQ(ChangeFileExt(s_.TourneyPath, ".txt"));
    const QString path = choose_(this, start);
    if (path.isEmpty()) return;
    WriteFileAtomically(FromQ(path), FileText());
}

void TPointsSummaryForm::EmailClicked() {
    const std::string path = PointsMailPath(s_);
    WriteFileAtomically(path, FileText());
    if (!SendFileByMail(path, PointsMailSubject(s_)))
        s_.Dialogs().MessageBox(TMessageBoxKind::Warning, kNoMailProgram + path);
}

void TPointsSummaryForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

bool SendFileByMail(const std::string& path, const std::string& subject) {
#ifdef Q_OS_WIN
    // A mailto: link cannot carry the attachment; the host is told where
    // the file is when no mail program opens.
    QUrl url("mailto:");
    QUrlQuery query;
    query.addQueryItem("subject", ToQ(subject));
    url.setQuery(query);
    (void)path;
    return QDesktopServices::openUrl(url);
#else
    // xdg-email opens the user's mail program with the file attached and
    // returns; its exit code says whether it found one.
    QProcess mail;
    mail.start("xdg-email", {"--utf8", "--subject", ToQ(subject), "--attach", ToQ(path)});
    if (!mail.waitForStarted(10000)) return false;
    if (!mail.waitForFinished(60000)) {
        mail.kill();
        mail.waitForFinished(1000);
        return false;
    }
    return mail.exitStatus() == QProcess::NormalExit && mail.exitCode() == 0;
#endif
}

void RunEditAndSendPoints(TTourneyState& s, QWidget* parent,
                          const std::function<void(TPointsSummaryForm&)>& prepare) {
    WriteLog(s, "Menu: File/Edit and send points");
    SaveTourney(s);
    TReportLines lines;
    if (!BuildResultsReport(s, lines)) return;
    TPointsSummaryForm form(s, JoinReportLines(lines), parent);
    if (prepare) prepare(form);
    form.exec();
}

}  // namespace kestrova

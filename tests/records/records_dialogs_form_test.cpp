// The question and notice boxes, "Confirmations and Notifications" and the
// player-list dialog, driven through their widgets as dialog scripts
// (tests/formats/form_script.h) from tests/data/settings/dialogs.txt, whose
// opening comment lists this test's own steps; then the boxes' place inside
// the work area.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <deque>

#include "fakes/fake_ports.h"
#include "formats/form_script.h"
#include "kit/dialog_util.h"
#include "lobby/script_steps.h"
#include "records/confirm.h"
#include "records/confirm_dlg_form.h"
#include "records/confirmations_form.h"
#include "records/notify_dlg_form.h"
#include "records/player_list_form.h"
#include "ui/qt_ports.h"

namespace kestrova::testing {
namespace {

using TArg = TFormScript::TArg;

TWidgetNames Names(QWidget* w) {
    if (auto* f = dynamic_cast<TConfirmDlgForm*>(w))
        return {KESTROVA_NAMED(MessageLabel), KESTROVA_NAMED(DontAskBox), KESTROVA_NAMED(YesButton),
                KESTROVA_NAMED(NoButton)};
    if (auto* f = dynamic_cast<TNotifyDlgForm*>(w))
        return {KESTROVA_NAMED(MessageLabel), KESTROVA_NAMED(DontTellBox),
                KESTROVA_NAMED(OkButton)};
    if (auto* f = dynamic_cast<TConfirmationsForm*>(w))
        return {KESTROVA_NAMED(ClearZfYes), KESTROVA_NAMED(ClearZfNo), KESTROVA_NAMED(OkButton)};
    return {};
}

#undef KESTROVA_NAMED

struct RecordsDialogs {
    TempDir Dir;
    FakeWorld World;
    TQtDialogs Dialogs;
    TTourneyState S;
    std::unique_ptr<QDialog> Form;
    std::deque<std::optional<std::string>> Answers;
    std::vector<std::string> Asked;
    RecordsDialogs() {
        World.Wire(S);
        S.Ports.Dialogs = &Dialogs;
        S.Settings.FilesFolder = Dir.Path();
    }
    // The input box of the player lists, answered from Answers.
    std::optional<std::string> Ask(QWidget*, TArg caption, TArg prompt, TArg initial) {
        Asked.push_back(caption + "|" + prompt + "|" + initial);
        std::optional<std::string> a;
        if (!Answers.empty()) a = Answers.front(), Answers.pop_front();
        return a;
    }
    TPlayerListForm::TAskName AskName() {
        return [this](QWidget* w, TArg c, TArg p, TArg i) { return Ask(w, c, p, i); };
    }
    QWidget* Open(const std::string& kind) {
        Form.reset();
        if (kind == "confirmations") {
            Form = std::make_unique<TConfirmationsForm>(S);
        } else {
            const auto [which, names] = Arrow(kind);
            const auto list = which == "banned" ? TPlayerListKind::Banned : TPlayerListKind::Recent;
            auto form = std::make_unique<TPlayerListForm>(list, Split(names));
            form->SetAskName(AskName());
            Form = std::move(form);
        }
        Form->show();
        return Form.get();
    }
    QListWidget* List() const { return Form->findChild<QListWidget*>("NameList"); }
    TConfirmationsForm& Confirmations() const { return dynamic_cast<TConfirmationsForm&>(*Form); }
};

TEST(RecordsDialogs, EachCaseAsWritten) {
    for (const TCase& c : ReadCases("settings/dialogs.txt")) {
        RecordsDialogs d;
        TFormScript script;
        script.Names = Names;
        script.Open = [&](const std::string& kind) { return d.Open(kind); };
        const auto confirm = [&](TArg v) {  // "TEXT -> ANSWER": the answer shown
            const TConfirmAnswer a = d.Dialogs.ConfirmDlg(Arrow(v).first);
            EXPECT_EQ(YesNo(a.Yes) + (a.DontAskAgain ? ", ticked" : ""), Arrow(v).second);
        };
        script.Steps = {
            {"confirm", [&](TArg, TArg v) { confirm(v); }},
            {"notify",
             [&](TArg, TArg v) {
                 EXPECT_EQ(YesNo(d.Dialogs.NotifyDlg(Arrow(v).first)), Arrow(v).second);
             }},
            {"ask to close sign-ups",
             [&](TArg, TArg v) {
                 EXPECT_EQ(YesNo(AskConfirm(d.S, confirm_bits::CloseSignups, Arrow(v).first)),
                           Arrow(v).second);
             }},
            {"laid out",
             [&](TArg, TArg) {
                 auto* f = dynamic_cast<TConfirmDlgForm*>(QApplication::activeModalWidget());
                 EXPECT_TRUE(f->MessageLabel->alignment() & Qt::AlignHCenter);
                 EXPECT_LT(f->DontAskBox->x(), f->YesButton->x());
                 EXPECT_GT(f->DontAskBox->y(), f->MessageLabel->y());
             }},
            {"filter", [&](TArg, TArg v) { d.S.Settings.ConfirmNotifyFilter = std::stoul(v); }},
            {"clear zf", [&](TArg, TArg v) { d.S.Settings.DefaultClearZfList = v == "yes"; }},
            {"click box",
             [&](TArg, TArg v) { d.Confirmations().BoxOf(1u << std::stoi(v))->click(); }},
            {"answers",
             [&](TArg, TArg v) {
                 for (const std::string& a : Split(v))
                     d.Answers.push_back(a == "(cancel)" ? std::nullopt : std::optional(a));
             }},
            {"double-click",
             [&](TArg, TArg v) {
                 QListWidget* list = d.List();
                 const QPoint at = list->visualItemRect(list->item(std::stoi(v))).center();
                 QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);  // the first press
                 QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
                 QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
             }},
            {"banned", [&](TArg, TArg v) { d.S.BannedPlayers = Split(v); }},
        };
        script.Checks = {
            {"stored filter",
             [&](TArg) { return std::to_string(d.S.Settings.ConfirmNotifyFilter); }},
            {"form filter", [&](TArg) { return std::to_string(d.Confirmations().Filter()); }},
            {"stored clear zf", [&](TArg) { return YesNo(d.S.Settings.DefaultClearZfList); }},
            {"box",
             [&](TArg bit) {
                 QCheckBox* box = d.Confirmations().BoxOf(1u << std::stoi(bit));
                 return box ? FromQ(box->text()) + (box->isChecked() ? " -> ticked" : " -> clear")
                            : "(none)";
             }},
            {"boxes",
             [&](TArg) { return std::to_string(d.Form->findChildren<QCheckBox*>().size()); }},
            {"result",
             [&](TArg) { return d.Form->result() == QDialog::Accepted ? "accepted" : "rejected"; }},
            {"asked", [&](TArg) { return d.Asked.empty() ? "(none)" : d.Asked.back(); }},
            {"current",
             [&](TArg) {
                 QListWidgetItem* item = d.List()->currentItem();
                 return item ? FromQ(item->text()) : "-";
             }},
            {"names",
             [&](TArg) { return Joined(dynamic_cast<TPlayerListForm&>(*d.Form).Names()); }},
            {"banned now", [&](TArg) { return Joined(d.S.BannedPlayers); }},
            {"edit banned players",
             [&](TArg) { return YesNo(EditBannedPlayers(d.S, nullptr, d.AskName())); }},
            {"saves", [&](TArg) { return std::to_string(d.World.Settings.Saves); }},
            {"file", [&](TArg name) { return ReadFileBytes(d.Dir.File(name)); }},
        };
        script.Play(nullptr, c);
    }
}

TEST(RecordsDialogs, TheQuestionStaysInsideTheWorkArea) {
    TConfirmDlgForm form("A question");
    form.show();
    const QRect area = form.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(form.frameGeometry()));
    for (QPoint at : {QPoint(area.right() - 10, area.bottom() - 10),
                      QPoint(area.left() - 500, area.top() - 500)}) {
        form.move(at);
        KeepInsideWorkArea(&form);
        EXPECT_TRUE(area.contains(form.frameGeometry()));
    }
}

}  // namespace
}  // namespace kestrova::testing

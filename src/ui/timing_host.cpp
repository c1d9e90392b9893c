#include "ui/timing_host.h"

#include <QApplication>
#include <QEvent>
#include <QTreeWidget>

#include "common/datetime.h"
#include "kit/dialog_util.h"
#include "timing/world_clock.h"
#include "ui/lobby_commands.h"
#include "ui/kestrova_form.h"

namespace kestrova {

namespace {

TTableBox* BoxOf(TKestrovaForm* form, TBracketKind b, int slot) {
    TBracketPanel* panel = form->Panel(b);
    return panel ? panel->Box(slot) : nullptr;
}

}  // namespace

TTimingHost::TTimingHost(TKestrovaForm* form) : form_(form) {
    clock_.SetView(this);
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &TTimingHost::Tick);
    form->installEventFilter(this);
}

bool TTimingHost::eventFilter(QObject* watched, QEvent* e) {
    // Created disabled, enabled when the window is first shown, never stopped.
    if (watched == form_ && e->type() == QEvent::Show && !timer_.isActive()) {
        timer_.start();
        Tick();
    }
    return false;
}

void TTimingHost::Tick() {
    // Inside a command (its questions, the pauses of a posting) or under a
    // modal dialog the clocks move on, but nothing new asks or posts.
    const bool busy = form_->CommandRunning() || QApplication::activeModalWidget() != nullptr;
    clock_.TimerTick(form_->State(), busy);
}

void TTimingHost::SlotTimeChanged(TBracketKind b, int slot, const std::string& text,
                                  TClockInk ink) {
    TTableBox* box = BoxOf(form_, b, slot);
    if (!box) return;
    QLabel* label = box->TimeLabel();
    const QString q = ToQ(text);
    if (label->text() != q) label->setText(q);
    if (ink == TClockInk::Unchanged) return;
    const QString sheet = ink == TClockInk::Navy ? "color: navy" : "color: maroon";
    if (label->styleSheet() != sheet) label->setStyleSheet(sheet);
}

void TTimingHost::SlotHintChanged(TBracketKind b, int slot, const std::string& hint) {
    if (TTableBox* box = BoxOf(form_, b, slot)) box->TimeLabel()->setToolTip(ToQ(hint));
}

void TTimingHost::SlotBlinkChanged(TBracketKind b, int slot, bool yellow) {
    if (TTableBox* box = BoxOf(form_, b, slot)) box->SetBlink(yellow);
}

void TTimingHost::StatusClocks() {
    const std::array<std::string, 3> texts = ClockPanelTexts(form_->State());
    for (int i = 0; i < 3; ++i) {
        const QString q = ToQ(texts[static_cast<size_t>(i)]);
        if (form_->ClockPanel(i)->text() != q) form_->ClockPanel(i)->setText(q);
    }
}

void TTimingHost::LobbyLookup() {
    form_->LobbyCommands().Tick();
}

void SetListRows(QTreeWidget* list, int rows, int columns,
                 const std::function<QString(int, int)>& text) {
    while (list->topLevelItemCount() > rows)
        delete list->takeTopLevelItem(list->topLevelItemCount() - 1);
    for (int r = 0; r < rows; ++r) {
        QTreeWidgetItem* item = list->topLevelItem(r);
        if (!item) item = new QTreeWidgetItem(list);
        for (int c = 0; c < columns; ++c) {
            const QString t = text(r, c);
            if (item->text(c) != t) item->setText(c, t);
        }
    }
}

void TTimingHost::OverdueRowsChanged(const std::vector<TOverdueTable>& rows) {
    SetListRows(form_->Docks().List(TStatusDocks::Overdue), static_cast<int>(rows.size()), 3,
                [&](int r, int c) {
                    const TOverdueTable& o = rows[static_cast<size_t>(r)];
                    if (c == 0) return QString::number(o.TableNo);
                    if (c == 1) return ToQ(o.RoundLabel);
                    return ToQ(FormatDuration(o.ElapsedMinutes));
                });
}

void TTimingHost::BootRowsChanged(const std::vector<TBootRow>& rows) {
    SetListRows(form_->Docks().List(TStatusDocks::ActiveBoots), static_cast<int>(rows.size()), 3,
                [&](int r, int c) {
                    const TBootRow& b = rows[static_cast<size_t>(r)];
                    if (c == 0) return ToQ(b.Name);
                    if (c == 1) return ToQ(b.Time);
                    return QString::number(b.TableNo);
                });
}

}  // namespace kestrova

#include "ui/bracket_panel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QVBoxLayout>

#include "common/cp1252.h"
#include "engine/status.h"
#include "engine/table_count.h"

namespace kestrova {

namespace {

const char* PanelCaption(TBracketKind b) {
    switch (b) {
        case TBracketKind::OneLoss:
            return "One Loss Rounds:";
        case TBracketKind::TwoLoss:
            return "Two Loss Rounds:";
        default:
            return "Winner Rounds:";
    }
}

QString Q(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

}  // namespace

// ---- Round tabs

void TRoundTabBar::SetComplete(int tab, bool complete) {
    if (tab < 0 || tab >= 64 || complete_[tab] == complete) return;
    complete_[tab] = complete;
    update(tabRect(tab));
}

QSize TRoundTabBar::tabSizeHint(int index) const {
    // Room for the bold caption, so selecting a tab never reflows the row.
    QSize size = QTabBar::tabSizeHint(index);
    QFont bold = font();
    bold.setBold(true);
    const int extra = QFontMetrics(bold).horizontalAdvance(tabText(index)) -
                      fontMetrics().horizontalAdvance(tabText(index));
    return QSize(size.width() + std::max(0, extra), size.height());
}

void TRoundTabBar::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    const QPalette pal = palette();
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab opt;
        initStyleOption(&opt, i);
        const QString text = opt.text;
        opt.text.clear();
        p.drawControl(QStyle::CE_TabBarTab, opt);
        QFont f = font();
        f.setBold(i == currentIndex());
        p.setFont(f);
        const QRect r = opt.rect;
        if (IsComplete(i)) {
            p.setPen(pal.color(QPalette::Light));
            p.drawText(r.translated(1, 1), Qt::AlignCenter, text);
            p.setPen(pal.color(QPalette::Dark));
        } else {
            p.setPen(pal.color(QPalette::ButtonText));
        }
        p.drawText(r, Qt::AlignCenter, text);
    }
}

// ---- Column header

TColumnHeader::TColumnHeader(const TBoxMetrics& m, QWidget* parent) : QWidget(parent), m_(m) {
    setFixedHeight(m.FirstTop());
}

void TColumnHeader::SetNextCaption(const QString& caption) {
    QString text = caption.size() == 1 ? "R" + caption : caption;
    if (text == next_) return;
    next_ = text;
    update();
}

void TColumnHeader::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    auto centred = [&](int x, const QString& text) {
        const int w = p.fontMetrics().horizontalAdvance(text);
        p.drawText(QPoint(x - w / 2, 1 + p.fontMetrics().ascent()), text);
    };
    centred(m_.S(15), "Table");
    centred(m_.S(30 + 55), "Player name");
    centred(m_.S(143 + 9), "Win");
    centred(m_.S(220 + 15), next_);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(0, height() - 1, width(), height() - 1);
}

// ---- Bracket panel

TBracketPanel::TBracketPanel(TTourneyState& s, TBracketKind bracket, const TBoxMetrics& m,
                             IBracketActions* actions, QWidget* parent)
    : QWidget(parent), s_(s), bracket_(bracket), m_(m), actions_(actions) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(2, 0, 0, 0);
    caption_ = new QLabel(PanelCaption(bracket), this);
    minMax_ = new QToolButton(this);
    minMax_->setCheckable(true);
    minMax_->setArrowType(Qt::UpArrow);
    minMax_->setAutoRaise(true);
    minMax_->setFixedSize(m.S(16), m.S(16));
    connect(minMax_, &QToolButton::toggled, this, [this](bool on) {
        SetMinimised(on);
        actions_->MinMaxToggled(bracket_, on);
    });
    top->addWidget(caption_);
    top->addStretch();
    top->addWidget(minMax_);
    layout->addLayout(top);

    tabs_ = new TRoundTabBar(this);
    tabs_->setExpanding(false);
    tabs_->setDrawBase(false);
    tabs_->setUsesScrollButtons(true);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) {
        if (tab < 0) return;
        actions_->TabClicked(bracket_, tab);
        ChangeTab(tab);
    });
    layout->addWidget(tabs_);

    header_ = new TColumnHeader(m, this);
    layout->addWidget(header_);

    scroll_ = new QScrollArea(this);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll_->setFrameShape(QFrame::StyledPanel);
    content_ = new QWidget;
    content_->resize(m.BoxWidth(scroll_->verticalScrollBar()->sizeHint().width()), 0);
    scroll_->setWidget(content_);
    scroll_->setWidgetResizable(false);
    layout->addWidget(scroll_, 1);

    editor_ = new TInPlaceEdit(content_);
    setMinimumWidth(m.S(120));
}

void TBracketPanel::SetEditDone(TInPlaceEdit::TDone nameDone, TInPlaceEdit::TDone tableDone) {
    nameDone_ = std::move(nameDone);
    tableDone_ = std::move(tableDone);
}

int TBracketPanel::SelectedRound() const {
    return s_.SelectedTab[static_cast<int>(bracket_)] + FirstRoundOf(bracket_);
}

TTableBox* TBracketPanel::Box(int table) const {
    return table >= 0 && table < BoxCount() ? boxes_[table] : nullptr;
}

void TBracketPanel::BuildBoxes() {
    if (!boxes_.empty()) return;
    const int count = SeatSearchBound[static_cast<int>(bracket_)];
    const int width = content_->width();
    boxes_.reserve(count);
    for (int k = 0; k < count; ++k) {
        const bool winners = bracket_ == TBracketKind::Winners;
        const bool blockEnd = winners && (k == 31 || k == 63);
        const TSeparator sep = !blockEnd ? TSeparator::Grey
                               : k == 31 ? TSeparator::RedBlock
                                         : TSeparator::YellowBlock;
        const int h = m_.Pitch() + (blockEnd ? m_.S(2) : 0);
        auto* box = new TTableBox(m_, k, h, sep, width, this, content_);
        box->hide();
        boxes_.push_back(box);
    }
    editor_->raise();
}

int TBracketPanel::TopOfRow(int n) const {
    return m_.Pitch() * n + (n >= 32 ? m_.S(2) : 0) + (n >= 64 ? m_.S(4) : 0);
}

void TBracketPanel::UpdateTabs() {
    const int b = static_cast<int>(bracket_);
    const auto& captions = s_.TabCaptions[b];
    bool same = tabs_->count() == static_cast<int>(captions.size());
    for (int i = 0; same && i < tabs_->count(); ++i)
        same = tabs_->tabText(i) == Q(captions[i]);
    {
        QSignalBlocker block(tabs_);
        if (!same) {
            while (tabs_->count() > 0)
                tabs_->removeTab(tabs_->count() - 1);
            for (const auto& c : captions)
                tabs_->addTab(Q(c));
            // A hidden tab bar does not tell its layout that it grew: tabs
            // built before the window is shown would keep a height of 0.
            tabs_->updateGeometry();
        }
        if (tabs_->currentIndex() != s_.SelectedTab[b]) tabs_->setCurrentIndex(s_.SelectedTab[b]);
    }
    const TBracket& br = s_.Bracket(bracket_);
    for (int i = 0; i < tabs_->count(); ++i) {
        const int r = i + FirstRoundOf(bracket_);
        tabs_->SetComplete(i, r < MaxRounds && br[r].TableCount > 0 && RoundComplete(br[r]));
    }
}

void TBracketPanel::ShowRound() {
    BuildBoxes();
    const int r = SelectedRound();
    if (r < 0 || r >= MaxRounds) return;
    const TRoundRec& round = s_.Bracket(bracket_)[r];
    const bool hideDecided = s_.Settings.HideCompletedMatches;
    int n = 0, bottom = 0;
    for (int k = 0; k < BoxCount(); ++k) {
        TTableBox* box = boxes_[k];
        const TTableRec& t = round.Tables[k];
        if (k >= round.TableCount || (hideDecided && t.Winner())) {
            if (!box->isHidden()) box->hide();
            continue;
        }
        box->ShowTable(s_, t, round.HasBye && k == round.TableCount - 1);
        const int top = TopOfRow(n++);
        if (box->y() != top) box->move(0, top);
        if (box->isHidden()) box->show();
        bottom = top + box->height();
    }
    if (content_->height() != bottom) content_->resize(content_->width(), bottom);
    const int tab = r - FirstRoundOf(bracket_);
    const auto& captions = s_.TabCaptions[static_cast<int>(bracket_)];
    header_->SetNextCaption(tab + 1 < static_cast<int>(captions.size()) ? Q(captions[tab + 1])
                                                                        : QString());
    tabs_->SetComplete(tab, round.TableCount > 0 && RoundComplete(round));
    actions_->RoundShown(bracket_);
}

void TBracketPanel::RoundChanged(int round) {
    const int tab = round - FirstRoundOf(bracket_);
    if (round == SelectedRound()) {
        ShowRound();
    } else if (round >= 0 && round < MaxRounds) {
        const TRoundRec& rr = s_.Bracket(bracket_)[round];
        tabs_->SetComplete(tab, rr.TableCount > 0 && RoundComplete(rr));
    }
}

int TBracketPanel::TopBoxSlot() const {
    const int y = scroll_->verticalScrollBar()->value() + 1;
    for (const TTableBox* box : boxes_)
        if (!box->isHidden() && box->geometry().contains(1, y)) return box->Index() + 1;
    return 0;
}

void TBracketPanel::ChangeTab(int tab) {
    editor_->CommitIfOpen();
    const int b = static_cast<int>(bracket_);
    const int left = SelectedRound();
    if (left >= 0 && left < MaxRounds) topBox_[left] = TopBoxSlot();
    s_.SelectedTab[b] = tab;
    if (tabs_->currentIndex() != tab) {
        QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(tab);
    }
    ShowRound();
    const int r = SelectedRound();
    const int remembered = (r >= 0 && r < MaxRounds) ? topBox_[r] : 0;
    // The boxes above the remembered one may have been hidden meanwhile, so
    // the position is recomputed from the boxes now visible.
    int y = 0;
    for (const TTableBox* box : boxes_)
        if (!box->isHidden() && box->Index() < remembered - 1) y += box->height();
    scroll_->verticalScrollBar()->setValue(y);
}

void TBracketPanel::SelectRound(int round) {
    const int tab = round - FirstRoundOf(bracket_);
    if (tab < 0 || tab >= tabs_->count()) return;
    ChangeTab(tab);
}

void TBracketPanel::ScrollToTable(int tableIndex) {
    if (TTableBox* box = Box(tableIndex); box && !box->isHidden())
        scroll_->verticalScrollBar()->setValue(box->y());
}

TSeatRef TBracketPanel::Ref(int table, int seat) const {
    return TSeatRef{bracket_, SelectedRound(), table, seat};
}

void TBracketPanel::OpenNameEdit(int table, int seat) {
    TTableBox* box = Box(table);
    if (!box) return;
    editor_->Open(box->Seat(seat).Name, box->Seat(seat).Name->text(), Ref(table, seat), false,
                  nameDone_);
}

void TBracketPanel::OpenTableNoEdit(int table) {
    TTableBox* box = Box(table);
    if (!box) return;
    editor_->Open(box->TableNo(), box->TableNo()->text(), Ref(table, 0), true, tableDone_);
}

void TBracketPanel::SetMinimised(bool on) {
    if (minMax_->isChecked() != on) {
        QSignalBlocker block(minMax_);
        minMax_->setChecked(on);
    }
    minMax_->setArrowType(on ? Qt::DownArrow : Qt::UpArrow);
    tabs_->setVisible(!on);
    header_->setVisible(!on);
    scroll_->setVisible(!on);
    setMaximumHeight(on ? HeaderHeight() : QWIDGETSIZE_MAX);
}

int TBracketPanel::HeaderHeight() const {
    return std::max(caption_->sizeHint().height(), minMax_->height()) + 2;
}

void TBracketPanel::mouseDoubleClickEvent(QMouseEvent* e) {
    minMax_->toggle();
    e->accept();
}

void TBracketPanel::BoxWinClicked(int table, int seat, bool pressed) {
    actions_->WinClicked(Ref(table, seat), pressed);
}
void TBracketPanel::BoxNameClicked(int table, int seat) {
    actions_->NameClicked(Ref(table, seat));
}
void TBracketPanel::BoxNameMenu(int table, int seat, const QPoint& global) {
    actions_->NameMenu(Ref(table, seat), global);
}

void TBracketPanel::BoxWinMenu(int table, int seat, const QPoint& global) {
    actions_->WinMenu(Ref(table, seat), global);
}
void TBracketPanel::BoxTableNoClicked(int table) {
    actions_->TableNoClicked(Ref(table, 0));
}
void TBracketPanel::BoxTableMenu(int table, const QPoint& global) {
    actions_->TableMenu(Ref(table, 0), global);
}
void TBracketPanel::BoxCopyClicked(int table, int seat) {
    actions_->CopyClicked(Ref(table, seat));
}
void TBracketPanel::BoxBootClicked(int table, int seat) {
    actions_->BootClicked(Ref(table, seat));
}
void TBracketPanel::BoxBootMenu(int table, int seat, const QPoint& global) {
    actions_->BootMenu(Ref(table, seat), global);
}

}  // namespace kestrova

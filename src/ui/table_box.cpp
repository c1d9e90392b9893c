#include "ui/table_box.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "common/cp1252.h"
#include "common/text.h"
#include "engine/status.h"

namespace kestrova {

TBoxMetrics TBoxMetrics::ForScreen() {
    TBoxMetrics m;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        m.Dpi = std::max(96, static_cast<int>(screen->logicalDotsPerInch()));
    return m;
}

namespace {

QString Q(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

QColor Blend(const QColor& a, const QColor& b, int percentA) {
    auto mix = [&](int x, int y) { return (x * percentA + y * (100 - percentA)) / 100; };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

// The three button glyphs, drawn once; the look of these icons is ours to choose.
QIcon MakeIcon(int kind) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (kind == 0) {  // win: a tick
        p.setPen(QPen(QColor(0, 128, 0), 2.2));
        p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(6.5, 12), QPointF(13, 4)}));
    } else if (kind == 1) {  // boot
        QPainterPath path;
        path.moveTo(5, 2);
        path.lineTo(9, 2);
        path.lineTo(9, 9);
        path.lineTo(14, 11);
        path.lineTo(14, 14);
        path.lineTo(4, 14);
        path.closeSubpath();
        p.setPen(QColor(90, 60, 30));
        p.setBrush(QColor(150, 100, 50));
        p.drawPath(path);
    } else {  // copy: two sheets
        p.setPen(QColor(40, 40, 90));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 2.5, 8, 9));
        p.drawRect(QRectF(5.5, 5.5, 8, 9));
    }
    return QIcon(pm);
}

const QIcon& Icon(int kind) {
    static const QIcon icons[3] = {MakeIcon(0), MakeIcon(1), MakeIcon(2)};
    return icons[kind];
}

// Sets a background only when it changes: redraws stay cheap.
void SetBackground(QWidget* w, const QColor& c) {
    if (w->palette().color(QPalette::Window) == c) return;
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, c);
    w->setPalette(pal);
}

void SetTextIfChanged(QLabel* l, const QString& text) {
    if (l->text() != text) l->setText(text);
}

void SetToolTipIfChanged(QWidget* w, const QString& text) {
    if (w->toolTip() != text) w->setToolTip(text);
}

}  // namespace

QColor NameBoxColor(const TTourneyState& s, const TTableRec& table, int seat, bool enabled) {
    const QPalette pal = QApplication::palette();
    const QColor window = pal.color(QPalette::Base);
    const QColor face = pal.color(QPalette::Button);
    switch (NameBoxStatus(s, table, seat)) {
        case TNameHighlight::FoundOpen:
            return QColor(128, 255, 128);
        case TNameHighlight::FoundDecided:
            return QColor(128, 192, 128);
        case TNameHighlight::Disqualified:
            return QColor(255, 193, 193);
        case TNameHighlight::BootedOut:
            return QColor(255, 222, 185);
        case TNameHighlight::HadBye:
            return QColor(193, 222, 255);
        case TNameHighlight::None:
            break;
    }
    if (!enabled) return face;
    return table.Result == 0 ? window : Blend(window, face, 40);
}

void TClickLabel::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) emit clicked();
    QLabel::mousePressEvent(e);
}

void TClickLabel::contextMenuEvent(QContextMenuEvent* e) {
    emit menuRequested(e->globalPos());
    e->accept();
}

TTableBox::TTableBox(const TBoxMetrics& m, int index, int height, TSeparator sep, int width,
                     ITableBoxHost* host, QWidget* parent)
    : QFrame(parent), index_(index), sep_(sep), host_(host) {
    setGeometry(0, 0, width, height);
    tableNo_ = new TClickLabel(this);
    tableNo_->setGeometry(m.S(4), m.S(5), m.S(24), m.S(13));
    tableNo_->setAlignment(Qt::AlignCenter);
    tableNo_->setCursor(Qt::IBeamCursor);
    connect(tableNo_, &TClickLabel::clicked, this, [this] { host_->BoxTableNoClicked(index_); });
    connect(tableNo_, &TClickLabel::menuRequested, this,
            [this](const QPoint& g) { host_->BoxTableMenu(index_, g); });

    auto* time = new TClickLabel(this);
    time->setGeometry(0, m.S(25), m.S(30), m.S(13));
    time->setAlignment(Qt::AlignCenter);
    QFont f("Verdana");
    f.setPointSize(7);
    time->setFont(f);
    time->setStyleSheet("color: maroon");
    connect(time, &TClickLabel::menuRequested, this,
            [this](const QPoint& g) { host_->BoxTableMenu(index_, g); });
    time_ = time;

    for (int seat = 0; seat < 2; ++seat)
        BuildSeat(m, seat);
}

void TTableBox::BuildSeat(const TBoxMetrics& m, int seat) {
    TSeatControls& c = seats_[seat];
    const int top = m.SeatTop(seat), h = m.RowHeight();
    c.Name = new TClickLabel(this);
    c.Name->setGeometry(m.S(30), top, m.S(110), h);
    c.Name->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    c.Name->setAutoFillBackground(true);
    c.Name->setTextFormat(Qt::PlainText);
    c.Name->setIndent(2);
    connect(c.Name, &TClickLabel::clicked, this, [this, seat] {
        if (seats_[seat].Name->isEnabled()) host_->BoxNameClicked(index_, seat);
    });
    connect(c.Name, &TClickLabel::menuRequested, this,
            [this, seat](const QPoint& g) { host_->BoxNameMenu(index_, seat, g); });

    auto button = [&](int left, int width, int icon) {
        auto* b = new QToolButton(this);
        b->setGeometry(m.S(left), top, m.S(width), h);
        b->setIcon(Icon(icon));
        b->setIconSize(QSize(h - 6, h - 6));
        b->setAutoRaise(false);
        return b;
    };
    c.Win = new TWinButton(this);
    c.Win->setGeometry(m.S(143), top, m.S(19), h);
    c.Win->setIcon(Icon(0));
    c.Win->setIconSize(QSize(h - 6, h - 6));
    c.Win->setFocusPolicy(Qt::TabFocus);
    c.Win->setCheckable(true);
    c.Win->setToolTip("Win?");
    connect(c.Win, &QToolButton::clicked, this,
            [this, seat](bool down) { host_->BoxWinClicked(index_, seat, down); });
    c.Win->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(c.Win, &QWidget::customContextMenuRequested, this, [this, seat](const QPoint& p) {
        host_->BoxWinMenu(index_, seat, seats_[seat].Win->mapToGlobal(p));
    });
    c.Boot = button(164, 32, 1);
    c.Boot->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(c.Boot, &QToolButton::clicked, this,
            [this, seat] { host_->BoxBootClicked(index_, seat); });
    c.Boot->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(c.Boot, &QWidget::customContextMenuRequested, this, [this, seat](const QPoint& p) {
        host_->BoxBootMenu(index_, seat, seats_[seat].Boot->mapToGlobal(p));
    });
    c.Copy = button(200, 20, 2);
    connect(c.Copy, &QToolButton::clicked, this,
            [this, seat] { host_->BoxCopyClicked(index_, seat); });

    c.Next = new QLabel(this);
    c.Next->setGeometry(m.S(220), top, m.S(30), h);
    c.Next->setAlignment(Qt::AlignCenter);
    c.Next->setStyleSheet("color: navy");
}

void TWinButton::paintEvent(QPaintEvent* e) {
    QToolButton::paintEvent(e);
    if (!hasFocus()) return;
    QPainter p(this);
    QPen pen(palette().color(QPalette::Highlight), 1, Qt::DotLine);
    p.setPen(pen);
    p.drawRect(rect().adjusted(1, 1, -2, -2));
}

void TTableBox::ShowTable(const TTourneyState& s, const TTableRec& t, bool byeSeatDisabled) {
    SetTextIfChanged(tableNo_, QString::number(t.TableNo));
    for (int seat = 0; seat < 2; ++seat)
        ShowSeat(s, t, seat, !(seat == 1 && byeSeatDisabled));
}

void TTableBox::ShowSeat(const TTourneyState& s, const TTableRec& t, int seat, bool enabled) {
    TSeatControls& c = seats_[seat];
    for (QWidget* w : {static_cast<QWidget*>(c.Name), static_cast<QWidget*>(c.Win),
                       static_cast<QWidget*>(c.Boot), static_cast<QWidget*>(c.Copy)})
        if (w->isEnabled() != enabled) w->setEnabled(enabled);
    SetBackground(c.Name, NameBoxColor(s, t, seat, enabled));
    const TPlayer* p = t.Seat[seat];
    const bool won = t.Result == seat + 1;
    if (c.Win->isChecked() != won) c.Win->setChecked(won);
    if (!p) {
        SetTextIfChanged(c.Name, QString());
        SetToolTipIfChanged(c.Name, QString());
        SetTextIfChanged(c.Next, QString());
        SetToolTipIfChanged(c.Next, QString());
        SetBootButton(seat, QString(), true);
        return;
    }
    SetTextIfChanged(c.Name, Q(p->Name));
    SetToolTipIfChanged(c.Name, s.TeamMode ? Q(p->Player1 + " / " + p->Player2) : QString());
    const int k = StageAt(*p, t);
    const bool beforeFinal =
        !(BracketOf(t) == TBracketKind::Winners && RoundOf(t) >= s.GrandFinalRound);
    const TTableRec* next =
        (k >= 0 && k + 1 < MaxStages && beforeFinal) ? p->Tables[k + 1] : nullptr;
    const TTableRec* prev = k > 0 ? p->Tables[k - 1] : nullptr;
    SetTextIfChanged(c.Next, next ? QString::number(next->TableNo) : QString());
    SetToolTipIfChanged(
        c.Next, prev ? QString::fromStdString(Format("Came from %d", prev->TableNo)) : QString());
    const QString boot = p->BootCount > 0 ? QString::number(p->BootCount) : QString();
    SetBootButton(seat, boot, true);  // a running boot's clock is put back by the next tick
}

void TTableBox::SetBootButton(int seat, const QString& caption, bool icon) {
    QToolButton* b = seats_[seat].Boot;
    if (b->text() != caption) b->setText(caption);
    if (b->icon().isNull() == icon) b->setIcon(icon ? Icon(1) : QIcon());
}

void TTableBox::SetBlink(bool yellow) {
    if (blink_ == yellow) return;
    blink_ = yellow;
    update();
}

void TTableBox::paintEvent(QPaintEvent* e) {
    {
        QPainter background(this);
        background.fillRect(rect(), blink_ ? QColor(Qt::yellow) : palette().color(QPalette::Button));
    }
    QFrame::paintEvent(e);
    QPainter p(this);
    if (sep_ == TSeparator::Grey) {
        p.fillRect(0, height() - 1, width(), 1, QColor(128, 128, 128));
        return;
    }
    p.fillRect(0, height() - 3, width(), 3, Qt::red);
    if (sep_ == TSeparator::YellowBlock) p.fillRect(1, height() - 2, width() - 2, 1, Qt::yellow);
}

}  // namespace kestrova

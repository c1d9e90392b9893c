#include "engine/team_properties_form.h"

#include <QFormLayout>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "common/cp1252.h"
#include "kit/dialog_util.h"
#include "engine/signup.h"

namespace kestrova {

namespace {

QLineEdit* NameEdit(const char* objectName, int maxLength, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(objectName));
    e->setMaxLength(maxLength);
    return e;
}
}  // namespace

TTeamPropertiesForm::TTeamPropertiesForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setWindowTitle("Team Properties");
    // Without a window frame the panel draws its own border and caption.
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Raised);
    auto* caption = new QLabel("Team Properties", frame);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);

    teamName_ = NameEdit("TeamNameEdit", TeamNameLength, frame);
    first_ = NameEdit("FirstNameEdit", PlayerNameLength, frame);
    second_ = NameEdit("SecondNameEdit", PlayerNameLength, frame);
    auto* fields = new QFormLayout;
    fields->addRow("Team name:", teamName_);
    fields->addRow("First player's name:", first_);
    fields->addRow("Second player's name:", second_);

    auto* ok = new QPushButton("OK", frame);
    ok->setObjectName("OkButton");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", frame);
    cancel->setObjectName("CancelButton");
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(caption);
    inner->addLayout(fields);
    inner->addLayout(buttons);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TTeamPropertiesForm::Load(const std::string& teamName, const std::string& first,
                               const std::string& second) {
    teamName_->setText(ToQ(teamName));
    first_->setText(ToQ(first));
    second_->setText(ToQ(second));
    teamName_->setFocus();
    teamName_->selectAll();
}

std::string TTeamPropertiesForm::TeamName() const {
    return FromQ(teamName_->text());
}
std::string TTeamPropertiesForm::First() const {
    return FromQ(first_->text());
}
std::string TTeamPropertiesForm::Second() const {
    return FromQ(second_->text());
}

void TTeamPropertiesForm::PlaceAt(const QPoint& globalTopLeft) {
    adjustSize();
    QScreen* screen = QGuiApplication::screenAt(globalTopLeft);
    if (!screen) screen = QGuiApplication::primaryScreen();
    QPoint p = globalTopLeft;
    if (screen) {
        QRect area = screen->availableGeometry();
        p.setX(std::clamp(p.x(), area.left(), std::max(area.left(), area.right() - width() + 1)));
        p.setY(std::clamp(p.y(), area.top(), std::max(area.top(), area.bottom() - height() + 1)));
    }
    move(p);
}

TPlayer* RunTeamProperties(TTourneyState& s, TTeamPropertiesForm& form, TBracketKind bracket,
                           int round, int table, int seat, const QPoint& at) {
    if (round < 0 || round >= MaxRounds || table < 0 || table >= MaxTablesPerRound) return nullptr;
    if (seat != 0 && seat != 1) return nullptr;
    const TPlayer* p = s.Bracket(bracket)[round].Tables[table].Seat[seat];
    form.Load(p ? p->Name : "", p ? p->Player1 : "", p ? p->Player2 : "");
    form.PlaceAt(at);
    if (form.exec() != QDialog::Accepted) return nullptr;
    return ApplyTeamProperties(s, bracket, round, table, seat, form.TeamName(), form.First(),
                               form.Second());
}

}  // namespace kestrova

#include "ui/start_time_strip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace kestrova {

TStartTimeStrip::TStartTimeStrip(QWidget* parent) : QWidget(parent) {
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(2, 2, 2, 2);
    start_ = new QLineEdit(this);
    rules_ = new QLineEdit(this);
    for (QLineEdit* e : {start_, rules_}) {
        e->setMaxLength(MaxTextLength);
        e->setMaximumWidth(110);
        connect(e, &QLineEdit::editingFinished, this,
                [this] { emit textsEdited(start_->text(), rules_->text()); });
    }
    hosts_ = new QPushButton("Hosts...", this);
    minMax_ = new QToolButton(this);
    minMax_->setCheckable(true);
    minMax_->setAutoRaise(true);
    minMax_->setArrowType(Qt::DownArrow);
    connect(minMax_, &QToolButton::toggled, this, &TStartTimeStrip::SetMinimised);
    h->addWidget(new QLabel("Start time:", this));
    h->addWidget(start_);
    h->addWidget(new QLabel("Rules:", this));
    h->addWidget(rules_);
    h->addWidget(hosts_);
    h->addStretch();
    h->addWidget(minMax_);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TStartTimeStrip::SetTexts(const QString& start, const QString& rules) {
    QSignalBlocker a(start_), b(rules_);
    if (start_->text() != start) start_->setText(start.left(MaxTextLength));
    if (rules_->text() != rules) rules_->setText(rules.left(MaxTextLength));
}

void TStartTimeStrip::SetMinimised(bool on) {
    {
        QSignalBlocker block(minMax_);
        minMax_->setChecked(on);
    }
    minMax_->setArrowType(on ? Qt::UpArrow : Qt::DownArrow);
    for (QObject* o : children())
        if (auto* w = qobject_cast<QWidget*>(o); w && w != minMax_) w->setVisible(!on);
}

}  // namespace kestrova

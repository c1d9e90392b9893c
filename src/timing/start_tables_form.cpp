#include "timing/start_tables_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "kit/dialog_util.h"
#include "model/tourney_state.h"
#include "records/event_log.h"
#include "timing/start_tables.h"
#include "timing/time_limits_form.h"

namespace kestrova {

TStartTablesForm::TStartTablesForm(TTourneyState& state, const TRoundList& tables,
                                   QWidget* parent)
    : QDialog(parent), state_(state) {
    setWindowTitle("Starting Tables For Each Round");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int i = 0; i < RoundIndexCount; ++i) {
        auto* field = new QSpinBox(this);
        field->setRange(MinStartTable, MaxStartTable);
        auto* last = new QLabel(this);
        last->setMinimumWidth(last->fontMetrics().horizontalAdvance("to 150") + 4);
        // Two columns, read down.
        const int row = i % 8, col = (i / 8) * 3;
        grid->addWidget(new QLabel(RoundFieldCaption(i), this), row, col);
        grid->addWidget(field, row, col + 1);
        grid->addWidget(last, row, col + 2);
        Fields[static_cast<size_t>(i)] = field;
        LastLabels[static_cast<size_t>(i)] = last;
        connect(field, &QSpinBox::valueChanged, this, [this] { UpdateExample(); });
    }
    layout->addLayout(grid);

    auto* example = new QGroupBox("Example Last Table Calculator ", this);
    auto* exampleRows = new QGridLayout(example);
    Players = new QSpinBox(example);
    Players->setRange(MinExamplePlayers, MaxExamplePlayers);
    Players->setValue(64);
    ElimType = new QComboBox(example);
    ElimType->addItems({"Single", "Double", "Triple"});
    ElimType->setCurrentIndex(static_cast<int>(state.ElimFormat));
    exampleRows->addWidget(new QLabel("Expected Number of players:", example), 0, 0);
    exampleRows->addWidget(Players, 0, 1);
    exampleRows->addWidget(new QLabel("Elimination type:", example), 1, 0);
    exampleRows->addWidget(ElimType, 1, 1);
    connect(Players, &QSpinBox::valueChanged, this, [this] { UpdateExample(); });
    connect(ElimType, &QComboBox::currentIndexChanged, this, [this] { UpdateExample(); });
    layout->addWidget(example);
    auto* note = new QLabel(
        "Please note that this is for showing what the last table number will be for the "
        "number of players entered here. It does not limit you to the number of players you "
        "can have in your tournament (currently 128 players).",
        this);
    note->setWordWrap(true);
    layout->addWidget(note);

    QHBoxLayout* buttons = AddOkCancelRow(this, layout, OkButton, CancelButton);
    RestoreButton = new QPushButton("Restore default", this);
    SetDefaultButton = new QPushButton("Set as default", this);
    buttons->insertWidget(0, SetDefaultButton);
    buttons->insertWidget(0, RestoreButton);
    setTabOrder(RestoreButton, SetDefaultButton);
    setTabOrder(SetDefaultButton, OkButton);
    connect(RestoreButton, &QPushButton::clicked, this,
            [this] { SetTables(DefaultStartTableRow(state_.Settings)); });
    connect(SetDefaultButton, &QPushButton::clicked, this, [this] { SetAsDefault(); });
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    SetTables(tables);
}

TRoundList TStartTablesForm::Tables() const {
    TRoundList out{};
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = Fields[i]->value();
    return out;
}

void TStartTablesForm::SetTables(const TRoundList& tables) {
    for (size_t i = 0; i < tables.size(); ++i) {
        QSignalBlocker block(Fields[i]);
        Fields[i]->setValue(tables[i]);
    }
    UpdateExample();
}

void TStartTablesForm::UpdateExample() {
    const TExampleTables x = ExampleLastTables(Tables(), Players->value(),
                                               static_cast<TElimFormat>(ElimType->currentIndex()));
    for (size_t i = 0; i < x.Last.size(); ++i) {
        Fields[i]->setEnabled(x.Reached[i]);
        LastLabels[i]->setEnabled(x.Reached[i]);
        LastLabels[i]->setVisible(x.Shown[i]);
        LastLabels[i]->setText(x.Shown[i] ? QString("to %1").arg(x.Last[i]) : QString());
    }
}

void TStartTablesForm::SetAsDefault() {
    if (!state_.Dialogs().YesNo("Are you sure you want to set these as the default starting tables?"))
        return;
    SaveDefaultStartTableRow(state_, Tables());
}

void TStartTablesForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

bool RunDefaultStartTables(TTourneyState& state, QWidget* parent) {
    if (state.SignupClosed) return false;
    WriteLog(state, "Menu: Format/Options/Default start tables");
    TStartTablesForm form(state, state.StartTable, parent);
    if (form.exec() != QDialog::Accepted) return false;
    ApplyStartTables(state, form.Tables());
    return true;
}

}  // namespace kestrova

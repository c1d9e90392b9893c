#include "formats/format_edit_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/int_list.h"
#include "common/text.h"
#include "formats/format_defaults.h"
#include "kit/dialog_util.h"

namespace kestrova {

namespace {
constexpr int HostFieldLength = 16;
constexpr int TimeFieldLength = 15;

QString ForWidget(const std::string& crlfText) {
    return ToQ(crlfText).replace("\r\n", "\n");
}
}  // namespace

void ConfigureFormatNameEdit(QLineEdit* edit) {
    edit->setMaxLength(FormatNameMaxLength);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[^\\]]*"), edit));
}

TFormatEditForm::TFormatEditForm(TTourneyState& state, const TTourneyFormat& format,
                                 std::vector<std::string> names, TFormatEditorServices services,
                                 QWidget* parent)
    : QDialog(parent),
      state_(state),
      lines_(format.Lines),
      openedWith_(format.Name),
      names_(std::move(names)),
      services_(std::move(services)) {
    setWindowTitle("Format Editor");
    filling_ = true;
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(BuildRules());
    left->addWidget(BuildHosts());
    top->addLayout(left);
    top->addWidget(BuildMessages(), 1);
    layout->addLayout(top);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    OkButton = buttons->button(QDialogButtonBox::Ok);
    CancelButton = buttons->button(QDialogButtonBox::Cancel);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, [this] { OkClicked(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    NameEdit->setText(ToQ(format.Name));
    MessageList->setCurrentRow(0);
    filling_ = false;
    ShowMessage();
}

QLineEdit* TFormatEditForm::KeyEdit(const char* key, int maxLength) {
    auto* e = new QLineEdit(ToQ(KeyValue(lines_, key)), this);
    e->setMaxLength(maxLength);
    connect(e, &QLineEdit::textChanged, this, [this, key](const QString& text) {
        if (filling_) return;
        SetKeyValue(lines_, key, FromQ(text));
        UpdateSample();
    });
    return e;
}

QWidget* TFormatEditForm::BuildRules() {
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    NameEdit = new QLineEdit(this);
    ConfigureFormatNameEdit(NameEdit);
    form->addRow("Name of format:", NameEdit);
    PointsCombo = new QComboBox(this);
    for (const char* item : MatchPointsItems)
        PointsCombo->addItem(item);
    shownItem_ = MatchPointsItemOf(lines_);
    PointsCombo->setCurrentIndex(shownItem_);
    connect(PointsCombo, &QComboBox::activated, this, [this](int item) { PointsChosen(item); });
    form->addRow("Match points:", PointsCombo);
    StartEdit = KeyEdit("Start time", TimeFieldLength);
    form->addRow("Start time:", StartEdit);
    RulesEdit = KeyEdit("Rules time", TimeFieldLength);
    form->addRow("Rules time:", RulesEdit);
    BootSpin = new QSpinBox(this);
    BootSpin->setRange(1, 100);
    BootSpin->setValue(BootTimeOf(lines_));
    connect(BootSpin, &QSpinBox::valueChanged, this, [this](int minutes) {
        if (filling_) return;
        SetKeyValue(lines_, "Boot time", IntToStr(minutes));
        UpdateSample();
    });
    auto* boot = new QHBoxLayout;
    boot->addWidget(BootSpin);
    boot->addWidget(new QLabel("minutes", this));
    boot->addStretch();
    form->addRow("Time for boots:", boot);

    TimeLimitsButton = new QPushButton("Match Time-limits...", this);
    PlayerPointsButton = new QPushButton("Player points...", this);
    SeatingButton = new QPushButton("Player seating...", this);
    SubDialog(TimeLimitsButton, services_.EditTimeLimits ? std::function<bool()>([this] {
        std::optional<TRoundList> given;
        if (auto v = FindKeyValue(lines_, "Match time limits")) given = ParseIntList(*v);
        auto limits = services_.EditTimeLimits(this, given);
        if (limits) StoreRoundList(lines_, "Match time limits", *limits);
        return limits.has_value();
    }) : nullptr);
    SubDialog(PlayerPointsButton, services_.EditPlayerPoints ? std::function<bool()>([this] {
        auto points = services_.EditPlayerPoints(this, PlayerPointsOf(lines_));
        if (points) StorePlayerPoints(lines_, *points);
        return points.has_value();
    }) : nullptr);
    SubDialog(SeatingButton, services_.EditStartTables ? std::function<bool()>([this] {
        auto tables = services_.EditStartTables(this, StartTablesOf(lines_));
        if (tables) StoreRoundList(lines_, "Starting tables", *tables);
        return tables.has_value();
    }) : nullptr);
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {TimeLimitsButton, PlayerPointsButton, SeatingButton})
        row->addWidget(b);
    form->addRow(row);
    return box;
}

QWidget* TFormatEditForm::BuildHosts() {
    auto* box = new QGroupBox("These are optional", this);
    auto* form = new QFormLayout(box);
    HostEdit = KeyEdit("Host name", HostFieldLength);
    form->addRow("Host name:", HostEdit);
    CoHostEdit = KeyEdit("Co-host name", HostFieldLength);
    form->addRow("Co-host name:", CoHostEdit);
    HostPlayerEdit = KeyEdit("Host player name", HostFieldLength);
    form->addRow("Host's player name:", HostPlayerEdit);
    CoHostPlayerEdit = KeyEdit("Co-host player Name", HostFieldLength);
    form->addRow("Co-host's player name:", CoHostPlayerEdit);
    return box;
}

QWidget* TFormatEditForm::BuildMessages() {
    auto* box = new QWidget(this);
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(new QLabel("Select message to edit:", this));
    MessageList = new QListWidget(this);
    for (int k = 0; k < MessageKindCount; ++k)
        MessageList->addItem(MessageKey(static_cast<TMessageKind>(k)));
    connect(MessageList, &QListWidget::currentRowChanged, this, [this] { ShowMessage(); });
    v->addWidget(MessageList, 1);
    auto* label = new QHBoxLayout;
    label->addWidget(new QLabel("Enter message:", this), 1);
    SymbolsButton = new QToolButton(this);
    SymbolsButton->setText(QString::fromUtf8("\u00a7"));
    SymbolsButton->setToolTip("Enter special symbols");
    SymbolsButton->setEnabled(bool(services_.PickSymbol));
    connect(SymbolsButton, &QToolButton::clicked, this, [this] {
        if (auto symbol = services_.PickSymbol(SymbolsButton)) MessageEdit->insertPlainText(*symbol);
    });
    label->addWidget(SymbolsButton);
    v->addLayout(label);
    MessageEdit = new QPlainTextEdit(this);
    connect(MessageEdit, &QPlainTextEdit::textChanged, this, [this] { StoreShownMessage(); });
    v->addWidget(MessageEdit, 1);
    auto* row = new QHBoxLayout;
    NoAutoPostBox = new QCheckBox("Don't AutoPost this message", this);
    connect(NoAutoPostBox, &QCheckBox::toggled, this, [this] { StoreShownMessage(); });
    row->addWidget(NoAutoPostBox, 1);
    DefaultMessageButton = new QPushButton("Get default message", this);
    connect(DefaultMessageButton, &QPushButton::clicked, this, [this] {
        const int k = MessageList->currentRow();
        if (k < 0) return;
        const std::string text =
            DecodeMessage(DefaultFormatValue(MessageKey(static_cast<TMessageKind>(k)))).Text;
        MessageEdit->setPlainText(ForWidget(text));
    });
    row->addWidget(DefaultMessageButton);
    v->addLayout(row);
    v->addWidget(new QLabel("Sample:", this));
    SampleBox = new QPlainTextEdit(this);
    SampleBox->setReadOnly(true);
    SampleBox->setMaximumHeight(SampleBox->fontMetrics().lineSpacing() * 4 + 12);
    v->addWidget(SampleBox);
    return box;
}

void TFormatEditForm::SubDialog(QPushButton* button, const std::function<bool()>& run) {
    button->setEnabled(bool(run));
    if (!run) return;
    connect(button, &QPushButton::clicked, this, [this, run] {
        if (run()) UpdateSample();
    });
}

void TFormatEditForm::ShowMessage() {
    const int k = MessageList->currentRow();
    if (k < 0) return;
    const TEditedMessage m = MessageOf(lines_, static_cast<TMessageKind>(k));
    filling_ = true;
    MessageEdit->setPlainText(ForWidget(m.Text));
    NoAutoPostBox->setChecked(m.NoAutoPost);
    filling_ = false;
    UpdateSample();
}

void TFormatEditForm::StoreShownMessage() {
    const int k = MessageList->currentRow();
    if (filling_ || k < 0) return;
    StoreMessage(lines_, static_cast<TMessageKind>(k),
                 {FromQ(MessageEdit->toPlainText()), NoAutoPostBox->isChecked()});
    UpdateSample();
}

void TFormatEditForm::PointsChosen(int item) {
    if (item != MatchPointsOtherItem) {
        ChooseMatchPointsItem(lines_, item);
        shownItem_ = item;
    } else if (services_.EditCustomPoints) {
        if (auto points = services_.EditCustomPoints(this, CustomPointsOf(lines_))) {
            StoreCustomPoints(lines_, *points);
            shownItem_ = item;
        }
    }
    // Without the custom points dialog, or after its Cancel, the choice
    // shows what the lines still hold.
    PointsCombo->setCurrentIndex(shownItem_);
    UpdateSample();
}

void TFormatEditForm::UpdateSample() {
    if (filling_ || !SampleBox) return;
    SampleBox->setPlainText(ToQ(SampleText(state_, lines_, FromQ(MessageEdit->toPlainText()))));
}

TTourneyFormat TFormatEditForm::Result() const {
    return {FromQ(NameEdit->text()), lines_};
}

void TFormatEditForm::OkClicked() {
    const std::string refusal = FormatNameRefusal(FromQ(NameEdit->text()), openedWith_, names_);
    if (refusal.empty()) return accept();
    QMessageBox box(QMessageBox::Information, "Information", ToQ(refusal), QMessageBox::Ok, this);
    box.exec();
    NameEdit->setFocus();
}

void TFormatEditForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

}  // namespace kestrova

#include "lobby/macro_edit_form.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

#include "common/text.h"
#include "kit/char_map_popup.h"
#include "kit/dialog_util.h"

namespace kestrova {

namespace {
struct TNamedQtKey {
    Qt::Key Key;
    const char* Name;
};
constexpr TNamedQtKey NamedQtKeys[] = {
    {Qt::Key_Backspace, "BkSp"}, {Qt::Key_Tab, "Tab"},     {Qt::Key_Return, "Enter"},
    {Qt::Key_Enter, "Enter"},    {Qt::Key_Escape, "Esc"},  {Qt::Key_Space, "Space"},
    {Qt::Key_PageUp, "PgUp"},    {Qt::Key_PageDown, "PgDn"}, {Qt::Key_End, "End"},
    {Qt::Key_Home, "Home"},      {Qt::Key_Left, "Left"},   {Qt::Key_Up, "Up"},
    {Qt::Key_Right, "Right"},    {Qt::Key_Down, "Down"},   {Qt::Key_Insert, "Ins"},
    {Qt::Key_Delete, "Del"}};

std::optional<int> QtKeyOf(const std::string& name) {
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return Qt::Key_A + (name[0] - 'A');
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return Qt::Key_0 + (name[0] - '0');
    if (name.size() > 1 && name[0] == 'F') return Qt::Key_F1 + StrToIntDef(name.substr(1), 1) - 1;
    for (const TNamedQtKey& k : NamedQtKeys)
        if (name == k.Name) return k.Key;
    return std::nullopt;
}

std::string NameOfQtKey(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return std::string(1, static_cast<char>('A' + key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return std::string(1, static_cast<char>('0' + key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return "F" + IntToStr(key - Qt::Key_F1 + 1);
    for (const TNamedQtKey& k : NamedQtKeys)
        if (key == k.Key) return k.Name;
    return {};
}
}  // namespace

std::optional<QKeySequence> HotKeySequence(const THotKey& key) {
    const auto code = QtKeyOf(key.Key);
    if (!code) return std::nullopt;
    Qt::KeyboardModifiers mods;
    if (key.Shift) mods |= Qt::ShiftModifier;
    if (key.Ctrl) mods |= Qt::ControlModifier;
    if (key.Alt) mods |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(*code)));
}

std::optional<THotKey> HotKeyFromQt(int key, Qt::KeyboardModifiers mods) {
    THotKey k;
    k.Key = NameOfQtKey(key);
    if (k.Key.empty()) return std::nullopt;
    k.Shift = mods & Qt::ShiftModifier;
    k.Ctrl = mods & Qt::ControlModifier;
    k.Alt = mods & Qt::AltModifier;
    return k;
}

// ---------------------------------------------------------------- picker

THotKeyPicker::THotKeyPicker(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    SetKeyText("");
}

void THotKeyPicker::SetKeyText(const std::string& text) {
    const auto key = ParseHotKey(text);
    text_ = key ? FormatHotKey(*key) : std::string();
    setText(text_.empty() ? QString("None") : ToQ(text_));
}

void THotKeyPicker::keyPressEvent(QKeyEvent* e) {
    const Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if ((e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete) && mods == Qt::NoModifier) {
        SetKeyText("");
        return;
    }
    if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) return QLineEdit::keyPressEvent(e);
    const auto key = HotKeyFromQt(e->key(), mods);
    if (key && key->Pickable()) SetKeyText(FormatHotKey(*key));
    e->accept();  // a plain key or Shift alone: refused, the old key stays
}

// ---------------------------------------------------------------- editor

TMacroEditForm::TMacroEditForm(const TMacroManager& manager, int editing, const TMacroEdit& initial,
                               const std::string& hostName, IDialogs& dialogs, QWidget* parent)
    : QDialog(parent), manager_(manager), editing_(editing), hostName_(hostName), dialogs_(dialogs),
      result_(initial) {
    setWindowTitle("Macro Editor");
    auto* grid = new QGridLayout(this);
    NameEdit = new QLineEdit(ToQ(initial.Name), this);
    TextEdit = new QPlainTextEdit(this);
    TextEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    QStringList lines;
    for (const std::string& l : initial.Lines)
        lines << ToQ(l);
    TextEdit->setPlainText(lines.join('\n'));
    HotKeyEdit = new THotKeyPicker(this);
    HotKeyEdit->SetKeyText(initial.HotKey);
    HotKeyLabel = new QLabel("Hot-key:", this);
    ToolbarBox = new QCheckBox("Show this Macro in the Toolbar as:", this);
    ToolbarBox->setChecked(initial.Toolbar);
    CaptionEdit = new QLineEdit(ToQ(initial.Caption), this);
    SymbolsButton = new QToolButton(this);
    SymbolsButton->setText("\xc2\xa7");
    SymbolsButton->setToolTip("Enter special symbols");
    Preview = new QPlainTextEdit(this);
    Preview->setReadOnly(true);
    Preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* mock = new QLineEdit("[ Type here to talk to others in the room ]", this);
    mock->setReadOnly(true);
    mock->setObjectName("MockChatInput");

    grid->addWidget(new QLabel("Macro name:", this), 0, 0);
    grid->addWidget(NameEdit, 0, 1, 1, 2);
    grid->addWidget(new QLabel("Edit macro:", this), 1, 0);
    grid->addWidget(SymbolsButton, 1, 2, Qt::AlignRight);
    grid->addWidget(TextEdit, 2, 0, 1, 3);
    grid->addWidget(HotKeyLabel, 3, 0);
    grid->addWidget(HotKeyEdit, 3, 1, 1, 2);
    grid->addWidget(ToolbarBox, 4, 0);
    grid->addWidget(CaptionEdit, 4, 1, 1, 2);
    grid->addWidget(new QLabel("Old-style lobby sample:", this), 5, 0);
    grid->addWidget(new QLabel("(new lobbies may look different)", this), 5, 1, 1, 2);
    grid->addWidget(Preview, 6, 0, 1, 3);
    grid->addWidget(mock, 7, 0, 1, 3);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    grid->addWidget(buttons, 8, 0, 1, 3);

    connect(buttons, &QDialogButtonBox::accepted, this, &TMacroEditForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(TextEdit, &QPlainTextEdit::textChanged, this, &TMacroEditForm::TextChanged);
    connect(CaptionEdit, &QLineEdit::textEdited, this, [this] { ToolbarBox->setChecked(true); });
    connect(SymbolsButton, &QToolButton::clicked, this, &TMacroEditForm::OpenCharMap);
    TextChanged();
}

void TMacroEditForm::TextChanged() {
    const TMacroEdit e = Fields();
    const bool player = IsPlayerMacro(e.Lines);
    for (QWidget* w : {static_cast<QWidget*>(HotKeyLabel), static_cast<QWidget*>(HotKeyEdit),
                       static_cast<QWidget*>(ToolbarBox), static_cast<QWidget*>(CaptionEdit)})
        w->setVisible(!player);
    QStringList shown;
    for (const std::string& l : e.Lines)
        shown << ToQ(hostName_ + "> " + l);
    Preview->setPlainText(shown.join('\n'));
}

TMacroEdit TMacroEditForm::Fields() const {
    TMacroEdit e;
    e.Name = FromQ(NameEdit->text());
    const QString text = TextEdit->toPlainText();
    if (!text.isEmpty())
        for (const QString& l : text.split('\n'))
            e.Lines.push_back(FromQ(l));
    e.HotKey = HotKeyEdit->KeyText();
    e.Toolbar = ToolbarBox->isChecked();
    e.Caption = FromQ(CaptionEdit->text());
    return e;
}

void TMacroEditForm::accept() {
    TMacroEdit e = Fields();
    const auto refusal = manager_.Check(editing_, e);
    NameEdit->setText(ToQ(e.Name));
    if (refusal) {
        dialogs_.MessageBox(TMessageBoxKind::Information, refusal->Message);
        QWidget* field = refusal->Field == TMacroField::Name     ? static_cast<QWidget*>(NameEdit)
                         : refusal->Field == TMacroField::HotKey ? static_cast<QWidget*>(HotKeyEdit)
                                                                 : static_cast<QWidget*>(CaptionEdit);
        field->setFocus();
        return;
    }
    result_ = e;
    QDialog::accept();
}

void TMacroEditForm::OpenCharMap() {
    auto* map = new TCharMapPopup(TextEdit, this);
    map->ShowUnder(SymbolsButton);
}

}  // namespace kestrova

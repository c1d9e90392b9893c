#pragma once
// "Macro Editor": one macro's name, text, hot key and toolbar button, with a
// sample of the lines as an older lobby shows them. OK runs the checks of
// TMacroManager and refuses with an information box on the failing field.
#include <QDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <optional>

#include "common/ports.h"
#include "lobby/hot_key.h"
#include "lobby/macro_manager.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace kestrova {

// A key-combination picker: the key pressed with Ctrl or Alt (and perhaps
// Shift) becomes the hot key; a plain key or Shift alone is refused, and
// Backspace or Delete without a modifier clears it.
class THotKeyPicker : public QLineEdit {
    Q_OBJECT
  public:
    explicit THotKeyPicker(QWidget* parent = nullptr);
    std::string KeyText() const { return text_; }
    void SetKeyText(const std::string& text);

  protected:
    void keyPressEvent(QKeyEvent* e) override;

  private:
    std::string text_;
};

// The Qt key of a hot key, and back; nothing for keys Qt and the macro file
// do not share.
std::optional<QKeySequence> HotKeySequence(const THotKey& key);
std::optional<THotKey> HotKeyFromQt(int key, Qt::KeyboardModifiers mods);

class TMacroEditForm : public QDialog {
    Q_OBJECT
  public:
    // editing: the macro's index in the manager, -1 for a new one.
    TMacroEditForm(const TMacroManager& manager, int editing, const TMacroEdit& initial,
                   const std::string& hostName, IDialogs& dialogs, QWidget* parent = nullptr);
    // The macro as accepted by OK.
    const TMacroEdit& Result() const { return result_; }

    QLineEdit* NameEdit = nullptr;
    QPlainTextEdit* TextEdit = nullptr;
    THotKeyPicker* HotKeyEdit = nullptr;
    QCheckBox* ToolbarBox = nullptr;
    QLineEdit* CaptionEdit = nullptr;
    QToolButton* SymbolsButton = nullptr;
    QPlainTextEdit* Preview = nullptr;
    QLabel* HotKeyLabel = nullptr;

    void accept() override;

  private:
    void TextChanged();
    TMacroEdit Fields() const;
    void OpenCharMap();

    const TMacroManager& manager_;
    int editing_;
    std::string hostName_;
    IDialogs& dialogs_;
    TMacroEdit result_;
};

}  // namespace kestrova

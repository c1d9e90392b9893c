#pragma once
// The auto-suggest list under the add field: recent players whose names begin
// with the typed text. A borderless, topmost tool window that never takes the
// focus, so typing goes on in the add field.
#include <QListWidget>
#include <QWidget>
#include <string>
#include <vector>

namespace kestrova {

// Names that begin with the prefix, case ignored (cp1252 names).
std::vector<std::string> SuggestionsFor(const std::vector<std::string>& names,
                                        const std::string& prefix);

class TSuggestList : public QWidget {
    Q_OBJECT
  public:
    static constexpr int MaxRows = 10;
    static constexpr int MaxPickLength = 31;  // a picked row is read back through 32 characters

    explicit TSuggestList(QWidget* field);
    ~TSuggestList() override;

    // Refills from the names; hides itself when nothing matches. Returns the row count.
    int Fill(const std::vector<std::string>& names, const std::string& prefix);
    void ShowUnderField();
    // Up/Down/PageUp/PageDown; returns the selected text (empty when none).
    QString Move(int key);
    QString SelectedText() const;
    QListWidget* List() const { return list_; }

  signals:
    void picked(const QString& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    QWidget* field_;
    QListWidget* list_;
};

}  // namespace kestrova

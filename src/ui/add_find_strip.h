#pragma once
// The strip above the brackets: while sign-ups are open the add row ("Add
// player:" field, its button, the count and "One player/table"), afterwards
// the find row ("Find player/table:", "Round/Table:", the count, Undo, Redo).
// Both rows share one min/max state.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>
#include <string>
#include <vector>

#include "kit/suggest_list.h"

namespace kestrova {

class TAddFindStrip : public QWidget {
    Q_OBJECT
  public:
    explicit TAddFindStrip(QWidget* parent);

    void ShowFindRow(bool find);
    void SetTeamCaptions(bool team);
    void SetCount(const QString& text);
    void SetUndoRedo(bool undo, bool redo);
    void SetFoundStatus(const QString& text);
    void SetFindText(const QString& text);
    void SetOnePerTable(bool on);
    void SetMinimised(bool on);
    bool Minimised() const { return addMinMax_->isChecked(); }
    // The names the suggestion list offers (the recent-player history).
    void SetSuggestionSource(const std::vector<std::string>* names) { names_ = names; }
    void FocusAddBox();

    QLineEdit* AddEdit() const { return addEdit_; }
    QPushButton* AddButton() const { return addButton_; }
    QCheckBox* OnePerTable() const { return onePerTable_; }
    QLineEdit* FindEdit() const { return findEdit_; }
    QLineEdit* StatusEdit() const { return statusEdit_; }
    QLabel* AddCount() const { return addCount_; }
    QLabel* FindCount() const { return findCount_; }
    QPushButton* UndoButton() const { return undo_; }
    QPushButton* RedoButton() const { return redo_; }
    TSuggestList* Suggestions() const { return suggest_; }

  signals:
    void addEntered(const QString& text);
    void addClicked(const QString& text);
    void suggestionPicked(const QString& name);
    void onePerTableClicked(bool on);
    void findChanged(const QString& text);
    void findEntered();
    void undoClicked();
    void redoClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    QWidget* BuildAddRow();
    QWidget* BuildFindRow();
    QToolButton* MakeMinMax(QWidget* parent);
    void RefillSuggestions();

    QWidget *addRow_, *findRow_;
    QLabel* addLabel_;
    QLineEdit* addEdit_;
    QPushButton* addButton_;
    QLabel *addCount_, *findCount_;
    QCheckBox* onePerTable_;
    QLineEdit *findEdit_, *statusEdit_;
    QPushButton *undo_, *redo_;
    QToolButton *addMinMax_, *findMinMax_;
    TSuggestList* suggest_;
    const std::vector<std::string>* names_ = nullptr;
    QString typed_;  // the text typed before moving in the suggestions
};

}  // namespace kestrova

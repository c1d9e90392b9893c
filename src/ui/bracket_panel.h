#pragma once
// One bracket's panel: header with min/max button, the round tabs, the column
// header and the scrolling column of table boxes for the selected round.
#include <QScrollArea>
#include <QTabBar>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <vector>

#include "engine/corrections.h"
#include "kit/in_place_edit.h"
#include "ui/table_box.h"

class QLabel;

namespace kestrova {

// What the host does inside a bracket view; the main window carries it out.
class IBracketActions {
  public:
    virtual ~IBracketActions() = default;
    virtual void WinClicked(const TSeatRef& at, bool pressed) = 0;
    virtual void NameClicked(const TSeatRef& at) = 0;
    virtual void NameMenu(const TSeatRef& at, const QPoint& global) = 0;
    virtual void WinMenu(const TSeatRef& at, const QPoint& global) { (void)at, (void)global; }
    virtual void TableNoClicked(const TSeatRef& at) = 0;
    virtual void TableMenu(const TSeatRef& at, const QPoint& global) = 0;
    virtual void CopyClicked(const TSeatRef& at) = 0;
    virtual void BootClicked(const TSeatRef& at) = 0;
    virtual void BootMenu(const TSeatRef& at, const QPoint& global) { (void)at; (void)global; }
    // The shown round was drawn again (its time labels follow from the clock).
    virtual void RoundShown(TBracketKind bracket) { (void)bracket; }
    virtual void TabClicked(TBracketKind bracket, int tab) = 0;
    virtual void MinMaxToggled(TBracketKind bracket, bool minimised) = 0;
};

// Round tabs: complete rounds embossed, the selected tab in bold.
class TRoundTabBar : public QTabBar {
    Q_OBJECT
  public:
    using QTabBar::QTabBar;
    void SetComplete(int tab, bool complete);
    bool IsComplete(int tab) const { return tab >= 0 && tab < 64 && complete_[tab]; }

  protected:
    void paintEvent(QPaintEvent* e) override;
    QSize tabSizeHint(int index) const override;

  private:
    std::array<bool, 64> complete_{};
};

// "Table", "Player name", "Win" and the next tab's caption over the boxes.
class TColumnHeader : public QWidget {
  public:
    TColumnHeader(const TBoxMetrics& m, QWidget* parent);
    void SetNextCaption(const QString& caption);

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    TBoxMetrics m_;
    QString next_;
};

class TBracketPanel : public QWidget, private ITableBoxHost {
    Q_OBJECT
  public:
    TBracketPanel(TTourneyState& s, TBracketKind bracket, const TBoxMetrics& m,
                  IBracketActions* actions, QWidget* parent);

    TBracketKind Bracket() const { return bracket_; }
    int SelectedRound() const;
    // Rebuilds the tab row from the state's captions when it changed.
    void UpdateTabs();
    // Shows the selected round again (every slot).
    void ShowRound();
    // A round changed: redraw when it is the one shown, re-emboss its tab.
    void RoundChanged(int round);
    // The engine moved the selection (LocateTable) / asks for a row.
    void SelectRound(int round);
    void ScrollToTable(int tableIndex);
    // Leaves the current tab (commits edits, remembers the top box) and shows tab.
    void ChangeTab(int tab);

    void OpenNameEdit(int table, int seat);
    void OpenTableNoEdit(int table);
    TInPlaceEdit* Editor() const { return editor_; }
    void SetEditDone(TInPlaceEdit::TDone nameDone, TInPlaceEdit::TDone tableDone);

    void SetMinimised(bool on);
    bool Minimised() const { return minMax_->isChecked(); }
    int HeaderHeight() const;

    // Access for tests and the benchmark.
    TRoundTabBar* Tabs() const { return tabs_; }
    QScrollArea* Scroll() const { return scroll_; }
    QToolButton* MinMaxButton() const { return minMax_; }
    TTableBox* Box(int table) const;
    int BoxCount() const { return static_cast<int>(boxes_.size()); }

  protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    void BuildBoxes();
    int TopBoxSlot() const;  // slot of the box at the top of the scroll area + 1, 0 none
    int TopOfRow(int n) const;
    TSeatRef Ref(int table, int seat) const;

    void BoxWinClicked(int table, int seat, bool pressed) override;
    void BoxNameClicked(int table, int seat) override;
    void BoxNameMenu(int table, int seat, const QPoint& global) override;
    void BoxWinMenu(int table, int seat, const QPoint& global) override;
    void BoxTableNoClicked(int table) override;
    void BoxTableMenu(int table, const QPoint& global) override;
    void BoxCopyClicked(int table, int seat) override;
    void BoxBootClicked(int table, int seat) override;
    void BoxBootMenu(int table, int seat, const QPoint& global) override;

    TTourneyState& s_;
    TBracketKind bracket_;
    TBoxMetrics m_;
    IBracketActions* actions_;
    QLabel* caption_;
    QToolButton* minMax_;
    TRoundTabBar* tabs_;
    TColumnHeader* header_;
    QScrollArea* scroll_;
    QWidget* content_;
    TInPlaceEdit* editor_;
    TInPlaceEdit::TDone nameDone_, tableDone_;
    std::vector<TTableBox*> boxes_;
    std::array<int, MaxRounds> topBox_{};  // remembered top box (slot + 1) per round
};

}  // namespace kestrova

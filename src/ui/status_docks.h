#pragma once
// The status summary: four dockable panels in the right-hand column. Their
// contents come from the match clock, boots and points; until those run the
// panels show their columns only.
#include <QDockWidget>
#include <QTreeWidget>
#include <array>

class QMainWindow;

namespace kestrova {

class TStatusDocks {
  public:
    enum TPanel { Overdue = 0, PlayerPoints, ActiveBoots, HadBye, PanelCount };
    explicit TStatusDocks(QMainWindow* window);

    void SetVisible(bool on);
    // For a screen too small for the column: the panels share one place as
    // tabs, and below the brackets when the screen is too narrow as well.
    void Compact(QMainWindow* window, bool below);
    bool Below() const { return below_; }
    QDockWidget* Dock(TPanel p) const { return docks_[p]; }
    QTreeWidget* List(TPanel p) const { return lists_[p]; }

  private:
    std::array<QDockWidget*, PanelCount> docks_{};
    std::array<QTreeWidget*, PanelCount> lists_{};
    bool below_ = false;
};

}  // namespace kestrova

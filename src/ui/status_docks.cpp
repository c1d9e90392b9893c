#include "ui/status_docks.h"

#include <QHeaderView>
#include <QMainWindow>
#include <QTabBar>

namespace kestrova {

TStatusDocks::TStatusDocks(QMainWindow* window) {
    struct PanelLayout {
        const char* Title;
        QStringList Columns;
        bool Header;
    };
    const PanelLayout panels[PanelCount] = {
        {"Overdue Tables", {"Table", "Round", "Time"}, true},
        {"Current Player Points", {"Name", "Points"}, false},
        {"Active Boots", {"Name", "Time", "Table"}, true},
        {"Players who've had a Bye", {"Name", "Round"}, true},
    };
    window->setDockNestingEnabled(true);
    for (int i = 0; i < PanelCount; ++i) {
        auto* dock = new QDockWidget(panels[i].Title, window);
        dock->setObjectName(QString("StatusDock%1").arg(i));
        dock->setAllowedAreas(Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea);
        dock->setFeatures(QDockWidget::DockWidgetMovable);
        auto* list = new QTreeWidget(dock);
        list->setColumnCount(panels[i].Columns.size());
        list->setHeaderLabels(panels[i].Columns);
        list->setHeaderHidden(!panels[i].Header);
        list->setRootIsDecorated(false);
        list->setMinimumSize(198, 100);
        list->setMaximumHeight(300);
        dock->setWidget(list);
        dock->setFixedWidth(198);
        window->addDockWidget(Qt::RightDockWidgetArea, dock, Qt::Vertical);
        docks_[i] = dock;
        lists_[i] = list;
    }
}

void TStatusDocks::Compact(QMainWindow* window, bool below) {
    if (below && !below_) {
        for (QDockWidget* d : docks_) {
            window->addDockWidget(Qt::BottomDockWidgetArea, d);
            d->setMinimumWidth(0);
            d->setMaximumWidth(QWIDGETSIZE_MAX);
        }
        for (QTreeWidget* l : lists_)
            l->setMinimumWidth(0);
        below_ = true;
    }
    for (int i = 1; i < PanelCount; ++i)
        window->tabifyDockWidget(docks_[0], docks_[i]);
    docks_[0]->raise();
    // The panels' titles on their tabs stay whole; the brackets keep the room.
    for (QTabBar* bar : window->findChildren<QTabBar*>())
        if (bar->parentWidget() == window) {
            bar->setElideMode(Qt::ElideNone);
            bar->setUsesScrollButtons(true);
        }
    if (below_) window->resizeDocks({docks_[0]}, {lists_[0]->minimumHeight()}, Qt::Vertical);
}

void TStatusDocks::SetVisible(bool on) {
    for (QDockWidget* d : docks_)
        d->setVisible(on);
}

}  // namespace kestrova

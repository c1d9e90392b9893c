#include "ui/status_docks.h"

#include <QHeaderView>
#include <QMainWindow>

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
        dock->setAllowedAreas(Qt::RightDockWidgetArea);
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

void TStatusDocks::SetVisible(bool on) {
    for (QDockWidget* d : docks_)
        d->setVisible(on);
}

}  // namespace kestrova

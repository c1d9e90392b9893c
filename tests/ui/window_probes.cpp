// What the host sees, for the window scripts' expect, has and lacks lines.
#include "ui/window_scripts.h"

#include <QScrollBar>

namespace kestrova::testing {

std::string WindowScripts::Probe(const std::string& probe) {
    const auto w = Words(probe);
    if (w[0] == "file")
        return QFileInfo::exists(QString::fromStdString(dir.File(w[1])))
                   ? ReadFileBytes(dir.File(w[1]))
                   : "(none)";
    const auto seat = [&w, this] { return Box(std::stoi(w.at(1)))->Seat(std::stoi(w.at(2))); };
    TAddFindStrip* strip = form->AddFind();
    TBracketPanel* panel = form->Panel(TBracketKind::Winners);
    const QString rest = QString::fromStdString(probe.substr(probe.find(' ') + 1));
    const auto text = [](QWidget* l) {
        return l->isVisible() ? FromQ(static_cast<QLabel*>(l)->text()) : "(hidden)";
    };
    if (probe == "title") return form->windowTitle().toStdString();
    if (probe == "visible") return form->isVisible() ? "yes" : "no";
    if (probe == "clipboard") return lobby->Latest();
    if (probe == "clipboards") return std::to_string(lobby->Clipboard.size());
    if (probe == "asked") return Joined(dialogs->Asked);
    if (probe == "notices") return Joined(dialogs->Notices);
    if (probe == "messages") return Joined(dialogs->Messages);
    if (probe == "result") return text(form->ResultLabel());
    if (probe == "posted") return text(form->PostedLabel());
    if (probe == "count") return FromQ(strip->AddCount()->text());
    if (probe == "find count") return FromQ(strip->FindCount()->text());
    if (probe == "status") return FromQ(strip->StatusEdit()->text());
    if (probe == "find strip")
        return strip->FindEdit()->isVisibleTo(form.get()) ? "shown" : "hidden";
    if (probe == "suggestions") {
        QStringList rows;
        for (int i = 0; i < strip->Suggestions()->List()->count(); ++i)
            rows << strip->Suggestions()->List()->item(i)->text();
        return strip->Suggestions()->isVisible() ? Joined(rows) : "(hidden)";
    }
    if (probe == "clock") {
        QLabel* panel = form->ClockPanel(0);
        const bool whole =
            panel->width() >= std::max(90, panel->fontMetrics().horizontalAdvance(panel->text()));
        return FromQ(panel->text()) + (whole ? "" : " (cut)");
    }
    if (probe == "least size") {
        const QSize least = form->minimumSize();
        const bool designed = least.width() >= 290 && least.height() >= 300 &&
                              least == least.expandedTo(form->minimumSizeHint());
        return designed ? "designed" : "too small";
    }
    if (probe == "panels") {
        std::string out = "Winners";
        for (TBracketKind b : {TBracketKind::OneLoss, TBracketKind::TwoLoss})
            out += form->Panel(b) ? b == TBracketKind::OneLoss ? " OneLoss" : " TwoLoss" : "";
        return out;
    }
    if (probe == "tabs") {
        QStringList tabs;
        for (int i = 0; i < form->Panel(TBracketKind::Winners)->Tabs()->count(); ++i)
            tabs << form->Panel(TBracketKind::Winners)->Tabs()->tabText(i);
        return Joined(tabs);
    }
    if (probe == "round") {
        QStringList names;
        for (int k = 0; k < form->Panel(TBracketKind::Winners)->BoxCount(); ++k)
            for (int side = 0; side < 2 && !Box(k)->isHidden(); ++side)
                names << Box(k)->Seat(side).Name->text();
        return Joined(names);
    }
    if (probe == "cut") return Joined(CutWidgets());
    if (probe == "add field")
        return strip->AddEdit()->width() >=
                       strip->AddEdit()->fontMetrics().horizontalAdvance("Abcdefghijklmno")
                   ? "holds 15 letters"
                   : "too narrow";
    if (probe == "size")
        return form->width() >= 290 && form->height() >= 300 ? "designed" : "small";
    if (probe == "tab row") {
        QTabBar* tabs = form->Panel(TBracketKind::Winners)->Tabs();
        return tabs->isVisible() && tabs->height() > 0 ? FromQ(tabs->tabText(0)) : "(hidden)";
    }
    if (probe == "docks") {
        QDockWidget* overdue = form->Docks().Dock(TStatusDocks::Overdue);
        return (form->dockWidgetArea(overdue) == Qt::RightDockWidgetArea ? "right, " : "below, ") +
               std::to_string(form->tabifiedDockWidgets(overdue).size()) + " tabbed beside";
    }
    if (probe == "brackets")
        return form->Panel(TBracketKind::Winners)->height() > form->height() / 3 ? "a third or more"
                                                                                 : "less";
    if (probe == "focus")
        return QApplication::focusWidget() == strip->AddEdit() ? "add field" : "elsewhere";
    if (probe == "place")
        return std::to_string(form->x() - area.left()) + " " +
               std::to_string(form->y() - area.top()) + " " + std::to_string(form->height());
    if (probe == "stored place")
        return std::to_string(s().Settings.Left - area.left()) + " " +
               std::to_string(s().Settings.Top - area.top());
    if (probe == "on screen")  // at the default height, or as high as the window must be
        return area.contains(form->geometry().center()) &&
                       form->height() ==
                           std::min(std::max(TAppSettings{}.Height, form->minimumHeight()),
                                    area.height())
                   ? "yes, at the default height"
                   : "no";
    if (probe == "invariants") return CheckInvariants(s());
    if (probe == "grand final") return GrandFinal(s());
    if (probe == "reread") {
        TTourneyState reread;
        FakeWorld readWorld;
        readWorld.Wire(reread);
        reread.LogToFile = false;
        if (!ReadTourney(reread, s().TourneyPath)) return "(unreadable)";
        return CheckInvariants(reread) + GrandFinal(reread);
    }
    if (probe == "postings") return std::to_string(announcer->Postings.size());
    if (probe == "last posting")
        return MessageKey(announcer->Postings.back().Kind) +
               (" " + announcer->Postings.back().Params.PlayerName);
    if (probe == "system clipboard") return FromQ(QGuiApplication::clipboard()->text());
    if (probe == "timer")
        return form->Timing().Timer().isActive()
                   ? "every " + std::to_string(form->Timing().Timer().interval()) + " ms"
                   : "stopped";
    if (probe == "blinking") {
        std::string out;
        for (int k = 0; k < s().Winners[0].TableCount; ++k)
            out += Box(k)->Blinking() ? (out.empty() ? "" : " ") + std::to_string(k) : "";
        return out;
    }
    if (probe == "overdue" || probe == "active boots") {
        QTreeWidget* list = form->Docks().List(probe == "overdue" ? TStatusDocks::Overdue
                                                                  : TStatusDocks::ActiveBoots);
        QStringList rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows << list->topLevelItem(i)->text(0) + " " + list->topLevelItem(i)->text(1) + " " +
                        list->topLevelItem(i)->text(2);
        return Joined(rows);
    }
    if (probe == "files")
        return Joined(QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files));
    if (probe == "path") return Relative(s().TourneyPath);
    if (probe == "room tables") return std::to_string(s().RoomTableCount);
    if (probe == "lobby") {
        for (const auto& [title, room] : rooms)
            if (s().FLobbyEditWnd == windows->InputOf(room)) return s().LobbyName + " in " + title;
        return s().LobbyName + (s().FLobbyEditWnd ? " in another" : "");
    }
    if (probe == "players") {
        std::vector<std::string> names;
        for (const auto& p : s().Players)
            names.push_back(p->Name);
        return Joined(names);
    }
    if (probe == "banned") return Joined(s().BannedPlayers);
    if (probe == "recent players") return Joined(s().RecentPlayers);
    if (probe == "macro file") return Relative(s().Settings.MacroFileName);
    if (probe == "macro titles") return Joined(macroTitles);
    if (probe == "macro bar") return Joined(Captions(m().MacrosBar->actions()));
    if (probe == "run macro") return Joined(Captions(m().RunMacroMenu->actions()));
    if (probe == "during pause") return duringPause;
    if (probe == "macro menus") return MacroMenus();
    if (w[0] == "sent")
        return Joined(windows->At(windows->InputOf(rooms.at(rest.toStdString()))).Sent);
    if (probe == "folder") return Relative(s().Settings.FilesFolder);
    if (probe == "recent tourneys") return Relative(s().Settings.RecentTourneys.front());
    if (probe == "confirm filter") return std::to_string(s().Settings.ConfirmNotifyFilter);
    if (probe == "saves") return std::to_string(store->Saves);
    if (probe == "bar") return Joined(Captions(form->menuBar()->actions()));
    if (w[0] == "menu") return Joined(Captions(Item(rest)->menu()->actions()));
    if (w[0] == "item") return Flags(Item(rest));
    if (w[0] == "pop-up") return Flags(PopupItem(rest));
    if (probe == "match points") {
        std::string out;
        for (int points : s().MsgParams.MatchPoints)
            out += (out.empty() ? "" : ",") + std::to_string(points);
        return out;
    }
    if (w[0] == "time") {
        QLabel* label = Box(std::stoi(w[1]))->TimeLabel();
        return FromQ(label->text() + " | " + label->toolTip() + " | " + label->styleSheet());
    }
    if (w[0] == "boot")
        return FromQ(seat().Boot->text()) + (seat().Boot->icon().isNull() ? "" : " (icon)");
    if (w[0] == "box")
        return Box(std::stoi(w[1]))->isHidden() ? "hidden"
                                                : "at " + std::to_string(Box(std::stoi(w[1]))->y());
    if (w[0] == "height") return std::to_string(Box(std::stoi(w[1]))->height());
    if (probe == "scroll") return std::to_string(panel->Scroll()->verticalScrollBar()->value());
    if (probe == "minimised")
        return panel->Minimised() && panel->Scroll()->isHidden() ? "yes" : "no";
    if (probe == "embossed") {
        std::string out;
        for (int i = 0; i < panel->Tabs()->count(); ++i)
            out += panel->Tabs()->IsComplete(i) ? (out.empty() ? "" : " ") + std::to_string(i) : "";
        return out;
    }
    if (w[0] == "table") return FromQ(Box(std::stoi(w[1]))->TableNo()->text());
    if (w[0] == "next") return FromQ(seat().Next->text());
    if (w[0] == "colour") return FromQ(seat().Name->palette().color(QPalette::Window).name());
    if (w[0] == "shortcut") return FromQ(Item(rest)->shortcut().toString());
    if (w[0] == "seat") return FromQ(seat().Name->text());
    if (w[0] == "win") return seat().Win->isChecked() ? "down" : "up";
    ADD_FAILURE() << "unknown probe " << probe;
    return "";
}

}  // namespace kestrova::testing

#pragma once
// Every menu, toolbar and pop-up item of the main window. Items whose
// subsystems are not wired yet (macros, lobby, friends list, format dialogs,
// reports, time zones, co-host link) exist disabled so the host sees the
// whole command set in its final place. The timing and boot items are found
// by caption, enabled and connected by ui/timing_commands.cpp.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QToolBar>

class QMainWindow;

namespace kestrova {

struct TMainMenus {
    explicit TMainMenus(QMainWindow* window);

    // File
    QAction *New, *Open, *SaveAs, *EditPoints, *Exit;
    QMenu* Recent;
    // Format
    QMenu *Format, *MatchPoints, *Elim, *Options;
    QActionGroup *ElimGroup, *FormatGroup;
    QAction *Single, *Double, *Triple, *FourPerTable, *EditFormats;
    QActionGroup* MatchPointsGroup;  // the five presets, then "Other..."
    QList<QAction*> MatchPointsItems;
    QAction *PlayerPoints, *DoublePoints;
    QAction* FormatSeparator;  // the format entries follow it
    // Action
    QAction *Welcome, *PostFormat, *AllStart, *Close, *Winners, *Undo, *Redo;
    // View options
    QAction *ViewStatus, *HideCompleted, *AlwaysOnTop, *Horizontal, *Vertical;
    QMenu* Arrangement;
    QMenu* InternetLink;
    // Options: the friends-list assistant
    QAction *RapidActive, *RapidAdded, *RapidRemoved, *RapidSearch, *RapidFolder;
    QActionGroup* RapidModeGroup;
    // Options: the host's questions, the side lists and the files folder
    QAction *CapNames, *ConfirmPrompts, *BannedList, *RecentHistory, *FilesFolder;
    // Format options: the round-2 byes
    QAction *AllByes, *RandomByes;
    // Help
    QAction *HelpGuide, *HelpFaq, *HelpAbout;
    QAction *LinkAllow, *LinkConnect, *LinkDisconnect, *LinkWhatsMyIp;
    // Lobby link and macros (wired by TLobbyCommands)
    QMenu *AutoPost, *LobbyList, *Macro;
    QAction *LobbyDisabled, *LobbySeparator, *AutoPostPreview, *AutoPostLoss, *ShowLobbyList,
        *PostManually;
    QAction *MacroSeparator, *MacroEdit, *MacroNew, *MacroOpen, *MacroSaveAs;
    QMenu* MacroRecent;
    // Toolbars
    QToolBar *ActionsBar, *MacrosBar;
    QAction *TbWelcome, *TbFormat, *TbAllStart, *TbClose, *TbWinners;
    // Pop-ups
    QMenu *PlayerMenu, *BootMenu, *TableMenu, *StatusBarMenu;
    QAction* SelectTimeZones;
    QMenu* RunMacroMenu;
    QAction *PmRemove, *PmBothQuit, *PmReassign, *PmDisqualify, *PmAssignSilently, *PmBan;
    QAction *TmCopyTime, *TmResetTimer, *TmVoid;

  private:
    void BuildFile(QMenu* m);
    void BuildFormat(QMenu* m);
    void BuildAction(QMenu* m);
    void BuildOptions(QMenu* m);
    void BuildRapidAssign(QMenu* m);
    void BuildPopups(QWidget* parent);
};

// A disabled placeholder item (its subsystem is not wired yet).
QAction* AddPending(QMenu* m, const QString& caption);

}  // namespace kestrova

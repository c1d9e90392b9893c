#include "ui/main_menus.h"

#include <QMainWindow>
#include <QMenuBar>

namespace kestrova {

QAction* AddPending(QMenu* m, const QString& caption) {
    QAction* a = m->addAction(caption);
    a->setEnabled(false);
    return a;
}

namespace {
QAction* AddCheck(QMenu* m, const QString& caption) {
    QAction* a = m->addAction(caption);
    a->setCheckable(true);
    return a;
}
}  // namespace

TMainMenus::TMainMenus(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    BuildFile(bar->addMenu("&File"));
    BuildFormat(bar->addMenu("F&ormat"));
    BuildAction(bar->addMenu("&Action"));
    Macro = bar->addMenu("&Macro");
    MacroSeparator = Macro->addSeparator();  // the macros of the file go above it
    MacroEdit = Macro->addAction("&Edit...");
    MacroNew = Macro->addAction("&New...");
    MacroOpen = Macro->addAction("&Open...");
    MacroSaveAs = Macro->addAction("&Save as...");
    MacroRecent = Macro->addMenu("Recent files");
    BuildOptions(bar->addMenu("Optio&ns"));
    QMenu* help = bar->addMenu("&Help");
    HelpGuide = help->addAction("&How to Use Guide");
    HelpFaq = help->addAction("FAQs");
    HelpAbout = help->addAction("&About...");

    ActionsBar = window->addToolBar("Actions");
    ActionsBar->setObjectName("ActionsBar");
    ActionsBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto tool = [&](const char* caption, const char* hint) {
        QAction* a = ActionsBar->addAction(caption);
        a->setToolTip(hint);
        return a;
    };
    TbWelcome = tool("Welcome", "Welcome (please be seated)");
    TbFormat = tool("Format", "Posts the tournament format");
    TbAllStart = tool("All Start", "Starts the tournament and timing");
    TbClose = tool("Close", "Closes the tournament and calculates when the finals are");
    TbWinners = tool("Winners!", "Announces the winner, only use when tourney is finished");
    MacrosBar = window->addToolBar("Macros");
    MacrosBar->setObjectName("MacrosBar");
    BuildPopups(window);
}

void TMainMenus::BuildFile(QMenu* m) {
    New = m->addAction("&New...");
    Open = m->addAction("&Open...");
    Recent = m->addMenu("Recent tourneys");
    SaveAs = m->addAction("&Save as...");
    EditPoints = m->addAction("Edit and send points...");
    m->addSeparator();
    Exit = m->addAction("E&xit");
}

void TMainMenus::BuildFormat(QMenu* m) {
    Format = m;
    MatchPoints = m->addMenu("&Match points");
    MatchPointsGroup = new QActionGroup(MatchPoints);
    for (const char* c : {"1 pt (3 pt final)", "2 pt (5 pt final)", "3 pt (5 pt final)",
                          "4 pt (7 pt final)", "5 pt (7 pt final)", "Other..."}) {
        QAction* a = AddCheck(MatchPoints, c);
        MatchPointsGroup->addAction(a);
        MatchPointsItems.append(a);
    }
    Elim = m->addMenu("&Elim");
    ElimGroup = new QActionGroup(Elim);
    Single = AddCheck(Elim, "&Single");
    Double = AddCheck(Elim, "&Double");
    Triple = AddCheck(Elim, "&Triple");
    for (QAction* a : {Single, Double, Triple})
        ElimGroup->addAction(a);
    for (const char* c : {"&Marathon", "&Round-robin...", "T&eam"})
        AddPending(Elim, c);
    Options = m->addMenu("&Options");
    PlayerPoints = Options->addAction("&Player points...");
    for (const char* c : {"&Boot time...", "&Time limits...", "&Default start tables..."})
        AddPending(Options, c);
    AllByes = AddCheck(Options, "&Assign all byes in Round 2");
    RandomByes = AddCheck(Options, "Assign 2nd round byes randomly");
    DoublePoints = AddCheck(Options, "Double player points");
    FourPerTable = AddCheck(m, "&4 players/table");
    m->addSeparator();
    EditFormats = AddPending(m, "E&dit...");
    FormatSeparator = m->addSeparator();
    FormatGroup = new QActionGroup(m);
}

void TMainMenus::BuildAction(QMenu* m) {
    Welcome = m->addAction("&Welcome (please be seated)");
    PostFormat = m->addAction("&Format");
    AllStart = m->addAction("&All Start");
    Close = m->addAction("&Close");
    Winners = m->addAction("A&nnounce Winners");
    m->addSeparator();
    Undo = m->addAction("&Undo last action");
    Undo->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Backspace));
    Redo = m->addAction("&Redo last action");
    Redo->setShortcut(QKeySequence(Qt::SHIFT | Qt::ALT | Qt::Key_Backspace));
    Undo->setEnabled(false);
    Redo->setEnabled(false);
    m->addSeparator();
    AddPending(m, "Reopen tournament");
}

void TMainMenus::BuildOptions(QMenu* m) {
    QMenu* autoPost = m->addMenu("&Auto-post options");
    AutoPost = autoPost;
    LobbyList = autoPost->addMenu("&Auto-post Lobby");
    LobbySeparator = LobbyList->addSeparator();  // the rooms go above it
    LobbyDisabled = AddCheck(LobbyList, "&Disabled");
    LobbyDisabled->setChecked(true);
    AutoPostPreview = AddCheck(autoPost, "Use Auto-post &preview mode");
    AutoPostLoss = AddCheck(autoPost, "Aut&o-post loser's message instantly");
    CapNames = AddCheck(autoPost, "Capitalise names");
    BuildRapidAssign(m);
    InternetLink = m->addMenu("&Intenet link");
    LinkAllow = AddPending(InternetLink, "Allow a host to connect");
    LinkConnect = AddPending(InternetLink, "Connect to another host");
    LinkDisconnect = AddPending(InternetLink, "Disconnect");
    LinkWhatsMyIp = AddPending(InternetLink, "&What's my IP address?");
    InternetLink->menuAction()->setVisible(false);

    QMenu* view = m->addMenu("&View options");
    ViewStatus = AddCheck(view, "&View status summary");
    HideCompleted = AddCheck(view, "&Hide completed matches");
    AlwaysOnTop = AddCheck(view, "Always on &Top");
    Arrangement = view->addMenu("&Brackets arrangement");
    auto* group = new QActionGroup(Arrangement);
    Horizontal = AddCheck(Arrangement, "&Horizontal");
    Vertical = AddCheck(Arrangement, "&Vertical");
    group->addAction(Horizontal);
    group->addAction(Vertical);
    ShowLobbyList = AddCheck(view, "Show &Lobby list in menu bar");

    QMenu* hosting = m->addMenu("&Hosting options");
    AddPending(hosting, "Reset b&oot counts on assign");
    PostManually = AddCheck(hosting, "&Post assignments manually");
    for (const char* c :
         {"&Display match time remaining", "Match tim&e reminders...", "&Show points at end"})
        AddPending(hosting, c);
    ConfirmPrompts = m->addAction("&Confirm and notify prompts...");
    BannedList = m->addAction("Ba&nned player list...");
    RecentHistory = m->addAction("Recent &player history...");
    FilesFolder = m->addAction("Set &default folder for files...");
}

void TMainMenus::BuildPopups(QWidget* parent) {
    PlayerMenu = new QMenu(parent);
    RunMacroMenu = PlayerMenu->addMenu("Run macro for this player");
    RunMacroMenu->setEnabled(false);
    PmRemove = PlayerMenu->addAction("Remove player (or has left)");
    PmBothQuit = PlayerMenu->addAction("Both players have quit");
    PmReassign = PlayerMenu->addAction("Reassign player to different table");
    PmDisqualify = PlayerMenu->addAction("Disqualify player");
    PmAssignSilently = PlayerMenu->addAction("Assign win silently");
    PmBan = PlayerMenu->addAction("Ban player from future tourneys");

    BootMenu = new QMenu(parent);
    for (const char* c : {"Clear boot count", "Silently cancel timing", "Cancel booted state",
                          "Increment boot count", "Decrement boot count"})
        AddPending(BootMenu, c);

    TableMenu = new QMenu(parent);
    TmCopyTime = AddPending(TableMenu, "&Copy time remaining to Ctrl+V into table");
    TmResetTimer = AddPending(TableMenu, "&Reset timer");
    TmVoid = AddCheck(TableMenu, "&Don't assign to this table number");

    StatusBarMenu = new QMenu(parent);
    SelectTimeZones = StatusBarMenu->addAction("&Select time zones...");
}

// The friends-list assistant's items; "Friends list folder..." only where no
// registry names the lobby client's folder.
void TMainMenus::BuildRapidAssign(QMenu* m) {
    RapidActive = AddCheck(m, "&Rapid-assign Active");
    QMenu* rapidMode = m->addMenu("Rapid-assign &mode");
    RapidModeGroup = new QActionGroup(rapidMode);
    RapidAdded = AddCheck(rapidMode, "Assign as added to ZoneFriends");
    RapidRemoved = AddCheck(rapidMode, "Assign as removed from ZoneFriends");
    RapidModeGroup->addAction(RapidAdded);
    RapidModeGroup->addAction(RapidRemoved);
    RapidAdded->setChecked(true);
    RapidSearch = m->addAction("Search for &unrestored ZF lists...");
    rapidMode->addSeparator();
    RapidFolder = rapidMode->addAction("Friends list folder...");
#ifdef _WIN32
    RapidFolder->setVisible(false);
#endif
}

}  // namespace kestrova

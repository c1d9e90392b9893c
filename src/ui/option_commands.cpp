// The host's options and side lists reached from the menus: the question and
// notice switches, the banned and recent lists, the files folder, capitalised
// names, the round-2 bye options, reassigning and banning a player, and Help.
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "engine/reassign_form.h"
#include "records/confirm.h"
#include "records/confirmations_form.h"
#include "records/event_log.h"
#include "records/files_folder.h"
#include "records/player_list_form.h"
#include "records/player_lists.h"
#include "ui/kestrova_form.h"

namespace kestrova {

QUrl HelpPageUrl(const QString& page) {
    // Installed beside the program, or in the source tree while developing.
    for (const QString& folder :
         {QCoreApplication::applicationDirPath() + "/docs", QStringLiteral(KESTROVA_DOCS_DIR)}) {
        const QString path = QDir(folder).filePath(page);
        if (QFileInfo::exists(path)) return QUrl::fromLocalFile(path);
    }
    return QUrl::fromLocalFile(QDir(QStringLiteral(KESTROVA_DOCS_DIR)).filePath(page));
}

void TKestrovaForm::ConnectOptionMenus() {
    TMainMenus& m = *menus_;
    connect(m.ConfirmPrompts, &QAction::triggered, this, [this] {
        WriteLog(state_, "Menu: Options/Confirm and notify prompts");
        TConfirmationsForm form(state_, this);
        form.exec();
    });
    connect(m.BannedList, &QAction::triggered, this, [this] {
        WriteLog(state_, "Menu: Options/Banned player list");
        EditBannedPlayers(state_, this);
    });
    connect(m.RecentHistory, &QAction::triggered, this, [this] {
        WriteLog(state_, "Menu: Options/Recent player history");
        EditRecentPlayers(state_, this);
    });
    connect(m.FilesFolder, &QAction::triggered, this, [this] {
        WriteLog(state_, "Menu: Options/Set default folder for files");
        Run([&] { SetFilesFolder(state_); });
    });
    connect(m.CapNames, &QAction::triggered, this, [this](bool on) {
        WriteLog(state_, std::string("Menu: Capitalise names = ") + OnOff(on));
        state_.CapNames = on;
        SaveSettings(state_);
    });
    connect(m.AllByes, &QAction::triggered, this, [this](bool on) {
        WriteLog(state_, std::string("Menu: Assign byes in round 2 = ") + OnOff(on));
        state_.AssignAllRound2Byes = on;
        SaveSettings(state_);
    });
    connect(m.RandomByes, &QAction::triggered, this, [this](bool on) {
        WriteLog(state_, std::string("Menu: Random byes in round 2 = ") + OnOff(on));
        state_.RandomRound2Byes = on;
        SaveSettings(state_);
    });
    // The check marks follow the state each time their menu opens.
    connect(m.Options, &QMenu::aboutToShow, this, [this] { UpdateOptionChecks(); });
    if (auto* autoPost = qobject_cast<QMenu*>(m.CapNames->parent()))
        connect(autoPost, &QMenu::aboutToShow, this, [this] { UpdateOptionChecks(); });

    connect(m.PmReassign, &QAction::triggered, this, [this] {
        Run([&] {
            dirty_[static_cast<int>(menuSeat_.Bracket)][menuSeat_.Round] = true;
            RunReassign(state_, menuSeat_, this);
            RedrawAll();
        });
    });
    connect(m.PmBan, &QAction::triggered, this, [this] {
        const TPlayer* p = state_.Bracket(menuSeat_.Bracket)[menuSeat_.Round]
                               .Tables[menuSeat_.Table]
                               .Seat[menuSeat_.Seat];
        if (p) BanPlayer(state_, p->Name);
    });

    connect(m.HelpGuide, &QAction::triggered, this,
            [] { QDesktopServices::openUrl(HelpPageUrl("how-to-use.md")); });
    connect(m.HelpFaq, &QAction::triggered, this,
            [] { QDesktopServices::openUrl(HelpPageUrl("faq.md")); });
    connect(m.HelpAbout, &QAction::triggered, this, [this] {
        QMessageBox::about(this, "About Tarvex Kestrova",
                           QString("Tarvex Kestrova %1\n\nThe host's desk for online elimination "
                                   "tournaments played in a game lobby.")
                               .arg(QString("%1.%2.%3 (build %4)")
                                        .arg(KESTROVA_VERSION_MAJOR)
                                        .arg(KESTROVA_VERSION_MINOR)
                                        .arg(KESTROVA_VERSION_PATCH)
                                        .arg(KESTROVA_VERSION_BUILD)));
    });
    UpdateOptionChecks();
}

void TKestrovaForm::UpdateOptionChecks() {
    TMainMenus& m = *menus_;
    m.CapNames->setChecked(state_.CapNames);
    m.AllByes->setChecked(state_.AssignAllRound2Byes);
    m.RandomByes->setChecked(state_.RandomRound2Byes);
    // Fixed for the tournament once sign-ups close.
    m.AllByes->setEnabled(!state_.SignupClosed);
}

}  // namespace kestrova

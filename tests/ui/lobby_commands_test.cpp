// The main window's macro menus against a scripted lobby: the "&Macro" menu,
// toolbar and player submenu built from a file, "&Stop" shown while a macro
// runs. The room list, the options, "Edit..." and the macro-file commands
// are scripts in tests/data/ui/window_scripts.txt.
#include "ui/lobby_commands.h"

#include "lobby/lobby_link.h"
#include "ui/window_fixture.h"

namespace kestrova::testing {
namespace {

class LobbyCommandsTest : public WindowTest {
  protected:
    void SetUp() override {
        Make({.Pairs = false});
        s().Settings.MacroFileName = dir.File("Macros.kvm");
        s().SettingsLoaded = true;
        form->show();
    }
    TLobbyCommands& cmd() { return form->LobbyCommands(); }
};

constexpr const char* kMacros =
    "[_Toolbar_]\r\nGreet=Hi!\r\nGhost=Boo\r\n[_HotKeys_]\r\nGreet=Ctrl+G\r\nShout=Ctrl+Nope\r\n"
    "[Greet]\r\nLine00=\"Hello\"\r\nLine01=\".<DELAY:0.50>\"\r\nLine02=\"Bye\"\r\n"
    "[Seat]\r\nLine00=\"%p: table %t\"\r\n[Shout]\r\nLine00=\"Go!\"\r\n";

TEST_F(LobbyCommandsTest, MenusToolbarAndStopFromTheMacroFile) {
    WriteFileBytes(s().Settings.MacroFileName, kMacros);
    cmd().LoadMacros();
    const QStringList macro = Captions(m().Macro->actions());
    EXPECT_EQ(macro.mid(0, 4), (QStringList{"Greet", "Shout", "-", "&Edit..."}));
    EXPECT_EQ(m().Macro->actions()[0]->shortcut(), QKeySequence("Ctrl+G"));
    EXPECT_TRUE(m().Macro->actions()[1]->shortcut().isEmpty());
    EXPECT_EQ(Captions(m().MacrosBar->actions()), QStringList{"Hi!"});
    EXPECT_EQ(Captions(m().RunMacroMenu->actions()), QStringList{"Seat"});

    const TWindowHandle input = [&] {
        const TWindowHandle room = windows->AddNewRoom("Room");
        emit m().LobbyList->aboutToShow();
        m().LobbyList->actions()[0]->trigger();
        return windows->InputOf(room);
    }();
    // While it runs, "&Stop" replaces "&Macro"; stopping in the pause ends it.
    bool stopShown = false, macroHidden = false;
    lobby->DuringWait = [&](int) {
        stopShown = cmd().StopMenu()->menuAction()->isVisible();
        macroHidden = !m().Macro->menuAction()->isVisible();
        if (!windows->At(input).Sent.empty() && lobby->Waits.size() > 2)
            cmd().StopAction()->trigger();
    };
    m().MacrosBar->actions()[0]->trigger();
    EXPECT_TRUE(stopShown && macroHidden);
    EXPECT_EQ(windows->At(input).Sent, std::vector<std::string>{"Hello"});
    EXPECT_FALSE(cmd().StopMenu()->menuAction()->isVisible());
    EXPECT_TRUE(m().Macro->menuAction()->isVisible());
    lobby->DuringWait = nullptr;
    m().Macro->actions()[1]->trigger();
    EXPECT_EQ(windows->At(input).Sent.back(), "Go!");
}

}  // namespace
}  // namespace kestrova::testing

#include "core/browser/command_dispatcher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/browser/link_command.h"
#include "core/browser/menus.h"
#include "core/command_codes.h"
#include "support/fake_browser.h"

using namespace quell::browser;
namespace commands = quell::commands;
using quell::browser::test::FakeBrowser;

namespace {

class FakeShell final : public Shell {
public:
    std::vector<std::string> opened;
    bool OpenAddress(const std::string& address) override {
        opened.push_back("address " + address);
        return true;
    }
    bool RunSkinEntry(const std::string& entry) override {
        opened.push_back("entry " + entry);
        return true;
    }
};

class FakeWindow final : public MainWindowControl {
public:
    std::vector<std::string> calls;
    bool maximized = false;
    std::string bookmark;
    void closeWindow() override { calls.push_back("close"); }
    void minimizeWindow() override { calls.push_back("minimize"); }
    void maximizeWindow() override { calls.push_back("maximize"); }
    void restoreWindow() override { calls.push_back("restore"); }
    bool windowIsMaximized() const override { return maximized; }
    void popupMenu(int id, int x, int y) override {
        calls.push_back("menu " + std::to_string(id) + " at " + std::to_string(x) + "," + std::to_string(y));
    }
    std::string runBookmarkDialog() override {
        calls.push_back("bookmarks");
        return bookmark;
    }
};

class RecordingMessages final : public quell::MessageSink {
public:
    std::vector<std::pair<std::string, quell::MessageIcon>> shown;
    void showMessage(const std::string& text, quell::MessageIcon icon) override { shown.emplace_back(text, icon); }
};

class CommandDispatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quell-commands-XXXXXX.ini";
        int fd = mkstemps(pattern, 4);
        ASSERT_GE(fd, 0);
        close(fd);
        m_ini = pattern;
        writeIni("");
    }
    void TearDown() override { unlink(m_ini.c_str()); }
    void writeIni(const std::string& text) { std::ofstream(m_ini, std::ios::binary) << text; }

    FakeBrowser browser;
    FakeShell shell;
    FakeWindow window;
    RecordingMessages messages;
    std::string m_ini;
    CommandDispatcher dispatcher() { return CommandDispatcher(browser, shell, window, messages, m_ini); }

    // Everything the fakes were asked since the last call, in one line (the
    // browser's calls, then the window's, the shell's and the messages), and
    // forgets it.
    std::string takeCalls() {
        std::string out;
        auto add = [&](const std::string& call) { out += (out.empty() ? "" : "; ") + call; };
        for (const std::string& c : browser.calls) add(c);
        for (const std::string& c : window.calls) add(c);
        for (const std::string& c : shell.opened) add(c);
        for (const auto& m : messages.shown) add("message '" + m.first + "'");
        browser.calls.clear();
        window.calls.clear();
        shell.opened.clear();
        messages.shown.clear();
        return out;
    }
};

}  // namespace

TEST_F(CommandDispatcherTest, EveryCodeAndItsToolbarTwinDoOneThing) {
    using namespace commands;
    const struct {
        int code, twin;
        const char* calls;
    } cases[] = {
        {kBack, kToolbarBack, "back"},
        {kForward, kToolbarForward, "forward"},
        {kHome, kToolbarHome, "home"},
        {kStop, kToolbarStop, "stop"},
        {kReload, kToolbarReload, "refresh"},
        {kPrint, kToolbarPrint, "exec 6"},
        {kGo, kGo, "navigate qrc:/quell/product.html"},
        {kExit, kToolbarExit, "close"},
        {kMinimize, kToolbarMinimize, "minimize"},
        {kMaximize, kMaximize, "maximize"},
        {kToolbarRestore, kToolbarRestore, "restore"},
        // Menus open under the anchor's bottom-left corner.
        {kFile, kToolbarFile, "menu 131 at 100,230"},
        {kEdit, kToolbarEdit, "menu 132 at 100,230"},
        {kView, kToolbarView, "menu 133 at 100,230"},
        {kMail, kMail, "address mailto:"},
    };
    auto d = dispatcher();
    for (const auto& c : cases) {
        for (int code : {c.code, c.twin}) {
            SCOPED_TRACE(code);
            d.DispatchCommand(code, 0, ScreenRect{100, 200, 130, 230});
            EXPECT_EQ(takeCalls(), c.calls);
        }
    }
    for (int unknown : {0, 17, 108, 115, 116, 118, 119, 125, 127, -1}) {
        SCOPED_TRACE(unknown);
        d.DispatchCommand(unknown, 0, ScreenRect{});
        EXPECT_EQ(takeCalls(), "");
    }
}

TEST_F(CommandDispatcherTest, FavoriteNavigatesOnlyToAChosenAddress) {
    auto d = dispatcher();
    d.DispatchCommand(commands::kFavorite, 0, ScreenRect{});
    EXPECT_EQ(takeCalls(), "bookmarks");
    window.bookmark = "http://chosen.example/";
    d.DispatchCommand(commands::kFavorite, 0, ScreenRect{});
    EXPECT_EQ(takeCalls(), "navigate http://chosen.example/; bookmarks");
}

TEST_F(CommandDispatcherTest, DirectAndExecuteReadTheirEntryAtClickTime) {
    auto d = dispatcher();
    writeIni(
        "[Button]\nDirect0=a,b,c,1,2,3,4,-1,,NULL,http://zero.example/\n"
        "Direct1=a,b,c,1,2,3,4,-1,,NULL,http://one.example/\n"
        "Direct2=http://nocomma.example/\nExecute0=a,b,c,1,2,3,4,-1,,NULL,gedit notes.txt\n");
    d.DispatchCommand(commands::kDirect, 1, ScreenRect{});
    d.DispatchCommand(commands::kDirect, 2, ScreenRect{});
    d.DispatchCommand(commands::kExecute, 0, ScreenRect{});
    EXPECT_EQ(takeCalls(), "navigate http://one.example/; navigate http://nocomma.example/; entry gedit notes.txt");

    // The entry changed on disk: the next click follows the file.
    writeIni("[Button]\nDirect1=x,http://changed.example/\n");
    d.DispatchCommand(commands::kDirect, 1, ScreenRect{});
    EXPECT_EQ(takeCalls(), "navigate http://changed.example/");
}

TEST_F(CommandDispatcherTest, LongEntriesAreCutBeforeTheLastCommaIsFound) {
    std::string entry = "a,b,c,1,2,3,4,-1,,NULL,http://example.com/" + std::string(80, 'x') + ",tail";
    writeIni("[Button]\nDirect0=" + entry + "\n");
    dispatcher().DispatchCommand(commands::kDirect, 0, ScreenRect{});
    const std::string cut = entry.substr(0, 99);
    EXPECT_EQ(takeCalls(), "navigate " + cut.substr(cut.rfind(',') + 1));
}

TEST_F(CommandDispatcherTest, AMissingEntryShowsOneEmptyExclamationMessage) {
    auto d = dispatcher();
    d.DispatchCommand(commands::kDirect, 3, ScreenRect{});
    d.DispatchCommand(commands::kExecute, 0, ScreenRect{});
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].second, quell::MessageIcon::Exclamation);
    EXPECT_EQ(takeCalls(), "message ''; message ''");
}

TEST_F(CommandDispatcherTest, LinkCommandsUseTheirOwnText) {
    auto d = dispatcher();
    LinkTargets targets{[&](const std::string& url) { browser.Navigate(url); },
                        [&](const std::string& entry) { shell.RunSkinEntry(entry); }, &d};
    RunLinkCommand(targets, commands::kDirect, 0, ScreenRect{}, "http://label.example/");
    RunLinkCommand(targets, commands::kExecute, 0, ScreenRect{}, "xterm");
    RunLinkCommand(targets, commands::kHome, 0, ScreenRect{}, "ignored");
    // The skin entry is not consulted, so no message about a missing one either.
    EXPECT_EQ(takeCalls(), "navigate http://label.example/; home; entry xterm");
}

TEST_F(CommandDispatcherTest, MenuCommandTable) {
    const struct {
        int id;
        const char* calls;
    } cases[] = {
        {kMenuOpen, "exec 1"},
        {kMenuSave, "exec 3"},
        {kMenuSaveAs, "exec 4"},
        {kMenuPageSetup, "exec 8"},
        {kMenuPrint, "exec 6"},
        {kMenuCut, "exec 11"},
        {kMenuCopy, "exec 12"},
        {kMenuPaste, "exec 13"},
        {kMenuSelectAll, "exec 17"},
        {kMenuFind, "exec-browser 1"},
        {kMenuSource, "exec-browser 2"},
        {kMenuInternetOptions, "exec-browser 3"},
        {kMenuStop, "stop"},
        {kMenuRefresh, "refresh"},
        {32786, "textsize 4"},
        {32787, "textsize 3"},
        {32788, "textsize 2"},
        {32789, "textsize 1"},
        {32790, "textsize 0"},
        {kMenuClose, "close"},
        {kMenuFullScreen, "maximize"},
        {kMenuNewWindow, "address http://example.com/"},
    };
    auto d = dispatcher();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        d.RunMenuCommand(c.id);
        EXPECT_EQ(takeCalls(), c.calls);
    }
}

TEST_F(CommandDispatcherTest, DocumentCommandsNeedADocument) {
    browser.hasDocument = false;
    auto d = dispatcher();
    EXPECT_EQ(d.ExecDocumentCommand(CommandGroup::Standard, kCommandPrint), kResultFail);
    d.SetTextSize(0);
    EXPECT_TRUE(browser.calls.empty());
    // Nothing received the size, so the level and the menu's mark stay at medium.
    EXPECT_EQ(d.textSizeLevel(), 2);
    EXPECT_TRUE(d.PopupItemStates(kViewMenu)[32788].checked);
}

TEST_F(CommandDispatcherTest, PopupStatesStartAtMediumAndFollowTheBrowser) {
    auto d = dispatcher();
    auto view = d.PopupItemStates(kViewMenu);
    for (int id = 32786; id <= 32790; ++id) {
        SCOPED_TRACE(id);
        EXPECT_EQ(view[id].checked, id == 32788);
    }
    EXPECT_FALSE(view[kMenuStop].enabled);
    EXPECT_TRUE(view[kMenuFullScreen].enabled);
    EXPECT_TRUE(view[kMenuRefresh].enabled);

    d.RunMenuCommand(32790);
    browser.busy = true;
    window.maximized = true;
    view = d.PopupItemStates(kViewMenu);
    for (int id = 32786; id <= 32790; ++id) EXPECT_EQ(view[id].checked, id == 32790);
    EXPECT_TRUE(view[kMenuStop].enabled);
    EXPECT_FALSE(view[kMenuFullScreen].enabled);
}

TEST_F(CommandDispatcherTest, EditItemsAreQueriedInOrderAndGuardedOneByOne) {
    browser.status[kCommandCopy] = 0;                  // supported but disabled
    browser.status[kCommandCut] = std::nullopt;        // the query fails: the item keeps its state
    browser.status[kCommandPaste] = kStatusSupported;  // not enabled
    auto edit = dispatcher().PopupItemStates(kEditMenu);
    EXPECT_FALSE(edit[kMenuCopy].enabled);
    EXPECT_TRUE(edit[kMenuCut].enabled);
    EXPECT_FALSE(edit[kMenuPaste].enabled);
    EXPECT_TRUE(edit[kMenuSelectAll].enabled);
    EXPECT_TRUE(edit[kMenuFind].enabled);
    EXPECT_EQ(browser.calls, (std::vector<std::string>{"query 12", "query 11", "query 13", "query 17"}));
}

TEST(Menus, EveryPopupHasItsCommandsInOrder) {
    auto ids = [](int menu) {
        std::vector<int> out;
        auto walk = [&](const auto& self, const std::vector<MenuItem>& items) -> void {
            for (const auto& i : items) {
                if (i.id) out.push_back(i.id);
                self(self, i.submenu);
            }
        };
        walk(walk, MenuById(menu).items);
        return out;
    };
    EXPECT_EQ(ids(kFileMenu), (std::vector<int>{32771, 32772, 32773, 32774, 32775, 32797, 32776}));
    EXPECT_EQ(ids(kEditMenu), (std::vector<int>{32777, 32778, 32779, 32780, 32781}));
    EXPECT_EQ(ids(kViewMenu), (std::vector<int>{32791, 32792, 32786, 32787, 32788, 32789, 32790, 32784, 32785, 32783}));
    EXPECT_EQ(MenuById(kFileMenu).title, "File");
    EXPECT_TRUE(MenuById(999).items.empty());
}

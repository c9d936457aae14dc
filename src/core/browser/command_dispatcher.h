#pragma once
// Every action of the user ends here as a command code: skin buttons, the
// maximized toolbar, the Go button, text labels and popup menu entries.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "core/browser/browser.h"
#include "core/browser/command_sink.h"
#include "core/browser/shell.h"
#include "core/message_sink.h"

namespace quell::browser {

// The address the Go button opens: a page compiled into the program, so it works offline.
inline constexpr const char* kProductPageUrl = "qrc:/quell/product.html";

// What commands do to the main window itself.
class MainWindowControl {
public:
    virtual ~MainWindowControl() = default;
    virtual void closeWindow() = 0;
    virtual void minimizeWindow() = 0;
    virtual void maximizeWindow() = 0;
    virtual void restoreWindow() = 0;
    virtual bool windowIsMaximized() const = 0;
    // Shows popup menu menuId with its top-left corner at (x, y) on the screen.
    virtual void popupMenu(int menuId, int x, int y) = 0;
    // Runs the bookmark dialog modally; the chosen address, empty when none.
    virtual std::string runBookmarkDialog() = 0;
};

// Enabled and checked state of the items of a popup that is opening.
struct MenuItemState {
    bool enabled = true;
    bool checked = false;
};

class CommandDispatcher final : public CommandSink {
public:
    CommandDispatcher(Browser& browser, Shell& shell, MainWindowControl& window, MessageSink& messages,
                      std::string skinIniPath);

    void DispatchCommand(int code, int index, ScreenRect anchor) override;
    // One entry of the File, Edit or View popup.
    void RunMenuCommand(int commandId);
    // The state each item of the popup should show as it opens.
    std::map<int, MenuItemState> PopupItemStates(int menuId);

    int32_t ExecDocumentCommand(CommandGroup group, int commandId);
    void SetTextSize(int level);
    int textSizeLevel() const { return m_textSizeLevel; }

private:
    // The target of Direct<index> or Execute<index>, read again now; nullopt after the message.
    std::optional<std::string> lookUpEntryTarget(const char* stem, int index);

    Browser& m_browser;
    Shell& m_shell;
    MainWindowControl& m_window;
    MessageSink& m_messages;
    std::string m_skinIniPath;
    int m_textSizeLevel = 2;
};

}  // namespace quell::browser

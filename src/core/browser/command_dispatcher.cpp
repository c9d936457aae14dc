#include "core/browser/command_dispatcher.h"

#include "core/browser/menus.h"
#include "core/command_codes.h"
#include "core/skin/profile_file.h"
#include "core/skin/skin_entries.h"
#include "core/skin/skin_values.h"

namespace quell::browser {

CommandDispatcher::CommandDispatcher(Browser& browser, Shell& shell, MainWindowControl& window, MessageSink& messages,
                                     std::string skinIniPath)
    : m_browser(browser),
      m_shell(shell),
      m_window(window),
      m_messages(messages),
      m_skinIniPath(std::move(skinIniPath)) {}

std::optional<std::string> CommandDispatcher::lookUpEntryTarget(const char* stem, int index) {
    std::string key = std::string(stem) + std::to_string(index);
    std::string value = skin::ProfileFile::Load(m_skinIniPath).ReadString("Button", key, skin::kMissing);
    if (value == skin::kMissing) {
        m_messages.showMessage("", MessageIcon::Exclamation);
        return std::nullopt;
    }
    return skin::TargetAfterLastComma(value);
}

void CommandDispatcher::DispatchCommand(int code, int index, ScreenRect anchor) {
    switch (code) {
    case commands::kBack:
    case commands::kToolbarBack: m_browser.GoBack(); break;
    case commands::kForward:
    case commands::kToolbarForward: m_browser.GoForward(); break;
    case commands::kHome:
    case commands::kToolbarHome: m_browser.GoHome(); break;
    case commands::kStop:
    case commands::kToolbarStop: m_browser.Stop(); break;
    case commands::kReload:
    case commands::kToolbarReload: m_browser.Refresh(); break;
    case commands::kPrint:
    case commands::kToolbarPrint: ExecDocumentCommand(CommandGroup::Standard, kCommandPrint); break;
    case commands::kExit:
    case commands::kToolbarExit: m_window.closeWindow(); break;
    case commands::kMinimize:
    case commands::kToolbarMinimize: m_window.minimizeWindow(); break;
    case commands::kMaximize: m_window.maximizeWindow(); break;
    case commands::kToolbarRestore: m_window.restoreWindow(); break;
    case commands::kFavorite: {
        std::string url = m_window.runBookmarkDialog();
        if (!url.empty()) m_browser.Navigate(url);
        break;
    }
    case commands::kMail: m_shell.OpenAddress("mailto:"); break;
    case commands::kDirect:
        if (auto target = lookUpEntryTarget("Direct", index)) m_browser.Navigate(*target);
        break;
    case commands::kExecute:
        if (auto target = lookUpEntryTarget("Execute", index)) m_shell.RunSkinEntry(*target);
        break;
    case commands::kFile:
    case commands::kToolbarFile: m_window.popupMenu(kFileMenu, anchor.left, anchor.bottom); break;
    case commands::kEdit:
    case commands::kToolbarEdit: m_window.popupMenu(kEditMenu, anchor.left, anchor.bottom); break;
    case commands::kView:
    case commands::kToolbarView: m_window.popupMenu(kViewMenu, anchor.left, anchor.bottom); break;
    case commands::kGo: m_browser.Navigate(kProductPageUrl); break;
    default: break;
    }
}

void CommandDispatcher::RunMenuCommand(int commandId) {
    switch (commandId) {
    case kMenuNewWindow: m_shell.OpenAddress(m_browser.LocationURL()); break;
    case kMenuOpen: ExecDocumentCommand(CommandGroup::Standard, kCommandOpen); break;
    case kMenuSave: ExecDocumentCommand(CommandGroup::Standard, kCommandSave); break;
    case kMenuSaveAs: ExecDocumentCommand(CommandGroup::Standard, kCommandSaveAs); break;
    case kMenuPageSetup: ExecDocumentCommand(CommandGroup::Standard, kCommandPageSetup); break;
    case kMenuPrint: ExecDocumentCommand(CommandGroup::Standard, kCommandPrint); break;
    case kMenuClose: m_window.closeWindow(); break;
    case kMenuCut: ExecDocumentCommand(CommandGroup::Standard, kCommandCut); break;
    case kMenuCopy: ExecDocumentCommand(CommandGroup::Standard, kCommandCopy); break;
    case kMenuPaste: ExecDocumentCommand(CommandGroup::Standard, kCommandPaste); break;
    case kMenuSelectAll: ExecDocumentCommand(CommandGroup::Standard, kCommandSelectAll); break;
    case kMenuFind: ExecDocumentCommand(CommandGroup::WebBrowser, kCommandFind); break;
    case kMenuSource: ExecDocumentCommand(CommandGroup::WebBrowser, kCommandViewSource); break;
    case kMenuInternetOptions: ExecDocumentCommand(CommandGroup::WebBrowser, kCommandInternetOptions); break;
    case kMenuFullScreen: m_window.maximizeWindow(); break;
    case kMenuStop: DispatchCommand(commands::kStop, 0, ScreenRect{}); break;
    case kMenuRefresh: DispatchCommand(commands::kReload, 0, ScreenRect{}); break;
    default:
        if (commandId >= kMenuTextLargest && commandId <= kMenuTextSmallest)
            SetTextSize(4 - (commandId - kMenuTextLargest));
        break;
    }
}

std::map<int, MenuItemState> CommandDispatcher::PopupItemStates(int menuId) {
    std::map<int, MenuItemState> states;
    // Every item starts enabled and unchecked, as the menu resource holds it.
    auto collect = [&](const auto& self, const std::vector<MenuItem>& items) -> void {
        for (const MenuItem& item : items) {
            if (item.id != 0) states[item.id] = MenuItemState{};
            self(self, item.submenu);
        }
    };
    collect(collect, MenuById(menuId).items);
    auto set = [&](int id, auto change) {
        auto it = states.find(id);
        if (it != states.end()) change(it->second);
    };

    for (int i = 0; i <= 4; ++i)
        set(kMenuTextLargest + i, [&](MenuItemState& s) { s.checked = m_textSizeLevel == 4 - i; });
    set(kMenuStop, [&](MenuItemState& s) { s.enabled = m_browser.Busy(); });
    set(kMenuFullScreen, [&](MenuItemState& s) { s.enabled = !m_window.windowIsMaximized(); });

    const std::pair<int, int> editQueries[] = {{kCommandCopy, kMenuCopy},
                                               {kCommandCut, kMenuCut},
                                               {kCommandPaste, kMenuPaste},
                                               {kCommandSelectAll, kMenuSelectAll}};
    for (const auto& [query, item] : editQueries) {
        if (states.find(item) == states.end()) continue;
        // A failed query leaves its item as it was; the others still run.
        std::optional<uint32_t> flags = m_browser.QueryStatus(query);
        if (flags) set(item, [&](MenuItemState& s) { s.enabled = (*flags & kStatusEnabled) != 0; });
    }
    return states;
}

int32_t CommandDispatcher::ExecDocumentCommand(CommandGroup group, int commandId) {
    if (!m_browser.HasDocument()) return kResultFail;
    return m_browser.ExecDocumentCommand(group, commandId);
}

void CommandDispatcher::SetTextSize(int level) {
    // Without a document there is nothing to take the size, and the level
    // the menu marks stays as it was; a document that refuses it still
    // changes the level.
    if (!m_browser.HasDocument()) return;
    m_browser.SetTextSize(level);
    m_textSizeLevel = level;
}

}  // namespace quell::browser

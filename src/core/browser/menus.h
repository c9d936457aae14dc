#pragma once
// The popup menus of the main window: File 131, Edit 132, View 133, and the
// bookmark dialog's 168, with their command ids and captions.
#include <string_view>
#include <vector>

namespace quell::browser {

enum MenuCommand : int {
    kMenuNewWindow = 32771,
    kMenuOpen = 32772,
    kMenuSave = 32773,
    kMenuSaveAs = 32774,
    kMenuPageSetup = 32775,
    kMenuClose = 32776,
    kMenuCut = 32777,
    kMenuCopy = 32778,
    kMenuPaste = 32779,
    kMenuSelectAll = 32780,
    kMenuFind = 32781,
    kMenuInternetOptions = 32783,
    kMenuSource = 32784,
    kMenuFullScreen = 32785,
    kMenuTextLargest = 32786,  // .. 32790 smallest
    kMenuTextSmallest = 32790,
    kMenuStop = 32791,
    kMenuRefresh = 32792,
    kMenuFavoriteOpen = 32793,
    kMenuFavoriteClose = 32794,
    kMenuFavoriteDelete = 32795,
    kMenuFavoriteRename = 32796,
    kMenuPrint = 32797,
};

enum MenuId : int { kFileMenu = 131, kEditMenu = 132, kViewMenu = 133, kFavoriteMenu = 168 };

struct MenuItem {
    int id = 0;                     // 0 for a separator or a submenu
    std::string_view caption;       // UTF-8, with '&' before the accelerator letter
    std::vector<MenuItem> submenu;  // non-empty for a submenu
    bool isSeparator() const { return id == 0 && submenu.empty(); }
};

struct Menu {
    std::string_view title;  // the popup's caption
    std::vector<MenuItem> items;
};

// The menu of that id; an empty menu for an unknown id.
const Menu& MenuById(int menuId);

}  // namespace quell::browser

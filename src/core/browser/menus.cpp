#include "core/browser/menus.h"

namespace quell::browser {

namespace {
MenuItem item(int id, std::string_view caption) { return MenuItem{id, caption, {}}; }
MenuItem separator() { return MenuItem{}; }
}  // namespace

const Menu& MenuById(int menuId) {
    static const Menu file{"File",
                           {item(kMenuNewWindow, "新しいウィンドウ(&N)"), item(kMenuOpen, "開く(&O)..."),
                            item(kMenuSave, "上書き保存(&S)"), item(kMenuSaveAs, "名前を付けて保存(&A)..."),
                            separator(), item(kMenuPageSetup, "ページ設定(&U)..."), item(kMenuPrint, "印刷(&P)..."),
                            separator(), item(kMenuClose, "閉じる(&C)")}};
    static const Menu edit{
        "Edit",
        {item(kMenuCut, "切り取り(&T)"), item(kMenuCopy, "コピー(&C)"), item(kMenuPaste, "貼り付け(&P)"), separator(),
         item(kMenuSelectAll, "すべて選択(&A)"), separator(), item(kMenuFind, "このページの検索(&F)...")}};
    static const Menu view{"View",
                           {item(kMenuStop, "中止(&P)"), item(kMenuRefresh, "最新の情報に更新(&R)"), separator(),
                            MenuItem{0,
                                     "文字のサイズ(&N)",
                                     {item(kMenuTextLargest, "最大(&G)"), item(kMenuTextLargest + 1, "大(&L)"),
                                      item(kMenuTextLargest + 2, "中(&M)"), item(kMenuTextLargest + 3, "小(&S)"),
                                      item(kMenuTextSmallest, "最小(&A)")}},
                            separator(), item(kMenuSource, "ソース(&C)"), item(kMenuFullScreen, "全画面表示(&F)"),
                            separator(), item(kMenuInternetOptions, "インターネット オプション(&O)...")}};
    static const Menu favorite{"Favorite",
                               {item(kMenuFavoriteOpen, "開く"), item(kMenuFavoriteClose, "閉じる"), separator(),
                                item(kMenuFavoriteDelete, "削除"), item(kMenuFavoriteRename, "名前の変更")}};
    static const Menu none{"", {}};
    switch (menuId) {
    case kFileMenu: return file;
    case kEditMenu: return edit;
    case kViewMenu: return view;
    case kFavoriteMenu: return favorite;
    default: return none;
    }
}

}  // namespace quell::browser

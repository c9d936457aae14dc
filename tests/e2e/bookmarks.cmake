# The Favorite button to bookmark dialog to browser path. It needs a skin with
# a Favorite button: set QUELL_E2E_FAVORITE_SKIN to the skin folder and
# QUELL_E2E_FAVORITE_BUTTON to "X;Y", the button's centre in the window.
set(QUELL_E2E_FAVORITE_SKIN "" CACHE PATH "Skin folder with a Favorite button for the bookmark e2e test")
set(QUELL_E2E_FAVORITE_BUTTON "" CACHE STRING "Favorite button centre X;Y in that skin's window")
if(QUELL_E2E_FAVORITE_SKIN AND QUELL_E2E_FAVORITE_BUTTON)
  quell_add_e2e(bookmarks_favorite bookmarks_favorite.sh $<TARGET_FILE:quellcore> ${QUELL_E2E_FAVORITE_SKIN}
    ${QUELL_E2E_FAVORITE_BUTTON})
endif()

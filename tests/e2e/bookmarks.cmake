# The Favorite button to bookmark dialog to browser path, on the packed sample program.
quell_add_e2e(bookmarks_favorite bookmarks_favorite.sh ${CMAKE_BINARY_DIR}/bin Quell1 $<TARGET_FILE:quellkit>)

# The layout map over the skin preview: held F12, --map, and a reload.
quell_add_e2e(skin_preview_map skin_preview_map.sh $<TARGET_FILE:quellcore> ${CMAKE_BINARY_DIR}/skins/Quell1)

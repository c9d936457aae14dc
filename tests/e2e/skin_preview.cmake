# The skin preview: a skin folder shown and reloaded as it is edited.
quell_add_e2e(skin_preview skin_preview.sh $<TARGET_FILE:quellcore> ${CMAKE_BINARY_DIR}/skins/Quell1
  ${CMAKE_BINARY_DIR}/bin/Photo.bmp)

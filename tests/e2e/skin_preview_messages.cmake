# The load's messages in the skin preview: standard error and the note, never a box.
quell_add_e2e(skin_preview_messages skin_preview_messages.sh $<TARGET_FILE:quellcore> ${CMAKE_BINARY_DIR}/skins/Quell1)

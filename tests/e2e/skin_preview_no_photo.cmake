# The skin preview on the build's sample skin folder, which has no Photo.bmp.
quell_add_e2e(skin_preview_no_photo skin_preview_no_photo.sh $<TARGET_FILE:quellcore> ${CMAKE_BINARY_DIR}/skins/Quell1)

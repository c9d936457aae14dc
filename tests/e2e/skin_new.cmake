# A new skin from "quellkit skin new": check, map, preview, pack and package.
quell_add_e2e(skin_new skin_new.sh $<TARGET_FILE:quellkit> $<TARGET_FILE:quellcore> ${CMAKE_BINARY_DIR}/bin/Photo.bmp)

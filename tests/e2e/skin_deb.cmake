# The sample skin as a Debian package: built, checked, installed, started from
# /usr/bin as a fresh user, and purged again (quellkit skin deb).
quell_add_e2e(skin_deb skin_deb.sh $<TARGET_FILE:quellkit> ${CMAKE_BINARY_DIR}/skins/Quell1 $<TARGET_FILE:quellcore>
  ${CMAKE_BINARY_DIR}/bin/Photo.bmp)

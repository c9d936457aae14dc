# The packed sample program under weston, through Qt's Wayland platform.
quell_add_e2e(wayland_skin wayland_skin.sh ${CMAKE_BINARY_DIR}/bin $<TARGET_FILE:quellkit>)

# Started with nothing to show on, the packed program says so and ends.
quell_add_e2e(no_display no_display.sh ${CMAKE_BINARY_DIR}/bin/Quell1)

# The packed sample program's controls over AT-SPI on a private session bus.
quell_add_e2e(accessibility accessibility.sh ${CMAKE_BINARY_DIR}/bin $<TARGET_FILE:quellkit>)

# The packed sample program's music and press sounds through a PulseAudio server.
quell_add_e2e(sound_server sound_server.sh ${CMAKE_BINARY_DIR}/bin $<TARGET_FILE:quellkit>)

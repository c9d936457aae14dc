# Installs the sample program where a Linux desktop finds it: the packed
# program with Photo.bmp beside it in a folder of its own, a command in the
# bin folder that links to it, a desktop entry and the icon. Included from the
# sample skin's CMakeLists, which builds the program and draws the icon.
set(QUELL1_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/quellcore)
set(QUELL1_DESKTOP_EXEC ${CMAKE_INSTALL_FULL_BINDIR}/quell1)
configure_file(${CMAKE_CURRENT_LIST_DIR}/quell1.desktop.in ${CMAKE_BINARY_DIR}/resources/desktop/quell1.desktop @ONLY)

install(PROGRAMS ${CMAKE_BINARY_DIR}/bin/Quell1 DESTINATION ${QUELL1_INSTALL_DIR})
install(FILES ${CMAKE_BINARY_DIR}/bin/Photo.bmp DESTINATION ${QUELL1_INSTALL_DIR})
# The program finds its skin and Photo.bmp beside its real path, so the
# command is a link to it rather than a copy.
install(CODE "
  set(target \"${CMAKE_INSTALL_FULL_LIBDIR}/quellcore/Quell1\")
  set(link \"\$ENV{DESTDIR}${CMAKE_INSTALL_FULL_BINDIR}/quell1\")
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}${CMAKE_INSTALL_FULL_BINDIR}\")
  file(REMOVE \"\${link}\")
  file(CREATE_LINK \"\${target}\" \"\${link}\" SYMBOLIC)
  message(STATUS \"Installing: \${link} -> \${target}\")
")
install(FILES ${CMAKE_BINARY_DIR}/resources/desktop/quell1.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 256)
  install(FILES ${CMAKE_BINARY_DIR}/resources/desktop/quell1-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME quell1.png)
endforeach()

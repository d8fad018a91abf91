# cmake --install: the program, the control module and sonolux-grid live
# together in lib/corvane (the program loads the module from its own folder),
# with links to them in bin, a desktop entry and an icon.
include(GNUInstallDirs)
set(CORVANE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/corvane)

install(TARGETS corvane sonolux-grid RUNTIME DESTINATION ${CORVANE_INSTALL_DIR})
install(TARGETS Sonolux LIBRARY DESTINATION ${CORVANE_INSTALL_DIR})
install(FILES data/corvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/corvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

foreach(program corvane sonolux-grid)
    install(CODE "
        set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(MAKE_DIRECTORY \"\${bin}\")
        file(RELATIVE_PATH target \"\${bin}\"
             \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CORVANE_INSTALL_DIR}/${program}\")
        execute_process(COMMAND \${CMAKE_COMMAND} -E create_symlink \"\${target}\" \"\${bin}/${program}\")
        message(STATUS \"Installing: \${bin}/${program} -> \${target}\")")
endforeach()

# cmake --install: the program, the control module, corvane-suggest, sonolux-grid and
# sonolux-register live together in one folder of their own (the program loads
# the module from its own folder), with links to them in bin, a desktop entry,
# an icon, the AppStream description, the manual pages, the changelog and the
# copyright file.
include(GNUInstallDirs)
# Signs the changelog's entries and is the package's contact.
set(CORVANE_MAINTAINER "Corvane maintainers <corvane@example.org>")
# Debian's place for a program's own architecture-dependent files is
# lib/<multiarch triplet>/<program>. There the module is two folders below
# lib/, so cpack adds no ldconfig calls and the package has no maintainer
# scripts at all (ldconfig never looks into a program's own folder anyway).
set(CORVANE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/corvane)
if(CMAKE_LIBRARY_ARCHITECTURE)
    set(CORVANE_INSTALL_DIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/corvane)
endif()
set(CORVANE_PROGRAMS corvane corvane-suggest sonolux-grid sonolux-register)

install(TARGETS ${CORVANE_PROGRAMS} RUNTIME DESTINATION ${CORVANE_INSTALL_DIR})
# With its unversioned name too: that is the name the program loads it by.
install(TARGETS Sonolux LIBRARY DESTINATION ${CORVANE_INSTALL_DIR})
install(FILES data/corvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/corvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/org.corvane.corvane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(program ${CORVANE_PROGRAMS})
    install(CODE "
        set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(MAKE_DIRECTORY \"\${bin}\")
        file(RELATIVE_PATH target \"\${bin}\"
             \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CORVANE_INSTALL_DIR}/${program}\")
        execute_process(COMMAND \${CMAKE_COMMAND} -E create_symlink \"\${target}\" \"\${bin}/${program}\")
        message(STATUS \"Installing: \${bin}/${program} -> \${target}\")")
endforeach()

# Manual pages carry the project's version, and are installed compressed with
# gzip -9n (no name or time stamp inside, so a page always gives the same bytes).
foreach(page corvane.1 corvane-suggest.1 sonolux-grid.1 sonolux-register.1)
    configure_file(docs/man/${page} ${CMAKE_BINARY_DIR}/man/${page} @ONLY)
    install(CODE "
        set(man \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man1\")
        file(MAKE_DIRECTORY \"\${man}\")
        execute_process(COMMAND gzip -9n -c \"${CMAKE_BINARY_DIR}/man/${page}\"
                        OUTPUT_FILE \"\${man}/${page}.gz\" RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR \"Cannot compress the manual page ${page}.\")
        endif()
        message(STATUS \"Installing: \${man}/${page}.gz\")")
endforeach()

# Debian's place for a package's changelog and copyright is share/doc/<package>,
# lower case, where GNUInstallDirs would take the project's name as written.
# The changelog is built from CHANGELOG.md (scripts/debian-changelog) so that
# the release notes are written once.
set(CORVANE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/corvane)
set(CORVANE_CHANGELOG ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(
    OUTPUT ${CORVANE_CHANGELOG}
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/debian-changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md
            corvane ${CORVANE_MAINTAINER} ${CORVANE_CHANGELOG}
    DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/scripts/debian-changelog
    COMMENT "Writing the package's changelog from CHANGELOG.md"
    VERBATIM)
add_custom_target(corvane_changelog ALL DEPENDS ${CORVANE_CHANGELOG})
install(FILES ${CORVANE_CHANGELOG} data/copyright DESTINATION ${CORVANE_DOC_DIR})

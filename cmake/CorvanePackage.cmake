# cpack (scripts/package): a Debian package of what cmake --install installs,
# under /usr, named corvane_<version>_<architecture>.deb. Its Depends come from
# the shared libraries the binaries link (Qt 6 base and multimedia). It has no
# maintainer scripts: installing it registers nothing for any user.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR "Corvane maintainers")
set(CPACK_PACKAGE_CONTACT "${CORVANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sort sound recordings into folders by their spectrograms")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Corvane shows the first wave files of a folder as a grid of small spectrogram
pictures. A keystroke bound to a target folder moves the selected recording, or
every visible one, into that folder; Next Batch refills the grid with what is
left, until the folder is empty. A move never replaces an existing file and
never loses the original.
.
The package also holds corvane-suggest, which suggests target folders for a
folder of recordings from those already sorted, sonolux-grid, which prints what
a spectrogram cell computes for a wave file, and sonolux-register, which
registers the spectrogram control module for a user.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)

# cpack installs what has been built and builds nothing itself: without this
# it would first build every target, the tests and benchmarks included.
# scripts/package builds the installed targets before it calls cpack.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

include(CPack)

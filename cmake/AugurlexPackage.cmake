# The Debian package (`cpack -G DEB` in the build folder): the install of AugurlexInstall.cmake
# under /usr, binaries stripped, dependencies from the binaries' libraries plus what they load
# at run time without linking to it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME augurlex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Augurlex developers")
set(CPACK_PACKAGE_CONTACT "${AUGURLEX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${AUGURLEX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${AUGURLEX_PROJECT_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, not linked: the SVG plugin that draws the program's icons. (The web
# engine's helper process, libqt6webenginecore6-bin, comes from the library's own symbols file.)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The first line is the synopsis; CPack indents the others as the control file wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "reference of divination terms
Augurlex looks up the terms of the arts of divination: astrology, tarot,
runes, the I Ching, numerology, ogham, omens, dreams and the methods of
divination themselves, and shows the definition page of each term.
.
The package also holds augurlex-dict, a command-line tool that searches,
checks, dumps, imports and merges the program's dictionary files.")
include(CPack)

# What `cmake --install` puts where (GNU layout under CMAKE_INSTALL_PREFIX): the two programs,
# the bundled dictionaries (data/CMakeLists.txt installs them into share/augurlex),
# the desktop entry, the icon in the hicolor theme, the AppStream metainfo, the manual pages,
# and the copyright and changelog files a Debian package carries.
include(GNUInstallDirs)

# One id for the desktop entry, the icon and the metainfo.
set(AUGURLEX_APP_ID "io.github.augurlex.Augurlex")

# What a distributor sets.
set(AUGURLEX_PROJECT_URL "https://github.com/augurlex/augurlex" CACHE STRING
    "The project's home page, in the metainfo and the package")
set(AUGURLEX_SCREENSHOT_BASE "${AUGURLEX_PROJECT_URL}/raw/main/docs" CACHE STRING
    "Where the README's screenshots are published, for the metainfo")
set(AUGURLEX_LICENSE "LicenseRef-proprietary" CACHE STRING
    "The program's licence as an SPDX expression, for the metainfo and the copyright file")
set(AUGURLEX_LICENSE_TEXT "All rights reserved." CACHE STRING
    "The licence's text or where to find it, for the copyright file")
set(AUGURLEX_PACKAGE_MAINTAINER "Augurlex developers <augurlex@users.noreply.github.com>"
    CACHE STRING "Name and address of the package's maintainer")
# The program's own icon, the one its windows show.
set(AUGURLEX_ICON_SVG "${CMAKE_SOURCE_DIR}/ui/icons/augurlex.svg" CACHE FILEPATH
    "The application icon (SVG); the PNG sizes are made from it")

set(packaging_source "${CMAKE_SOURCE_DIR}/packaging")
set(packaging_build "${CMAKE_BINARY_DIR}/packaging")

install(TARGETS augurlex augurlex-dict RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES "${packaging_source}/${AUGURLEX_APP_ID}.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file("${packaging_source}/${AUGURLEX_APP_ID}.metainfo.xml.in"
               "${packaging_build}/${AUGURLEX_APP_ID}.metainfo.xml" @ONLY)
install(FILES "${packaging_build}/${AUGURLEX_APP_ID}.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon: the SVG as it is, and PNG sizes for desktops that want them.
install(FILES "${AUGURLEX_ICON_SVG}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${AUGURLEX_APP_ID}.svg)
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
    set(icon_files)
    foreach(size 16 22 24 32 48 64 128 256)
        set(png "${packaging_build}/icons/${size}x${size}/${AUGURLEX_APP_ID}.png")
        add_custom_command(OUTPUT "${png}"
            COMMAND ${CMAKE_COMMAND} -E make_directory "${packaging_build}/icons/${size}x${size}"
            COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o "${png}" "${AUGURLEX_ICON_SVG}"
            DEPENDS "${AUGURLEX_ICON_SVG}" VERBATIM)
        list(APPEND icon_files "${png}")
        install(FILES "${png}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_target(icons ALL DEPENDS ${icon_files})
else()
    message(WARNING "rsvg-convert (librsvg2-bin) not found: only the SVG icon is installed")
endif()

# Manual pages and the changelog, with the program's version, compressed as Debian wants them
# (no name or time stamp inside).
configure_file("${packaging_source}/changelog.in" "${packaging_build}/changelog.Debian" @ONLY)
configure_file("${packaging_source}/copyright.in" "${packaging_build}/copyright" @ONLY)
configure_file("${packaging_source}/augurlex.1.in" "${packaging_build}/augurlex.1" @ONLY)
configure_file("${packaging_source}/augurlex-dict.1.in" "${packaging_build}/augurlex-dict.1" @ONLY)
set(compressed_files)
foreach(source "${packaging_build}/augurlex.1" "${packaging_build}/augurlex-dict.1"
               "${packaging_build}/changelog.Debian")
    get_filename_component(name "${source}" NAME)
    add_custom_command(OUTPUT "${packaging_build}/${name}.gz"
        COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" gzip "${source}" "${packaging_build}/${name}.gz"
        DEPENDS "${source}" VERBATIM)
    list(APPEND compressed_files "${packaging_build}/${name}.gz")
endforeach()
add_custom_target(compressed_documents ALL DEPENDS ${compressed_files})
install(FILES "${packaging_build}/augurlex.1.gz" "${packaging_build}/augurlex-dict.1.gz"
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES "${packaging_build}/copyright" "${packaging_build}/changelog.Debian.gz"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/augurlex)

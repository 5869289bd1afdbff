# The Debian package, made by CPack: both programs, the chart program they share, the desktop
# entry, the icon, the metainfo, and the copyright and changelog Debian asks for. The
# dependencies come from the programs' shared libraries (dpkg-shlibdeps), and besides them what
# they load at run time: Qt's SVG plugins for the icon, and the fonts of the values and charts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME daylight)
set(CPACK_PACKAGE_VENDOR "The Daylight developers")
set(CPACK_PACKAGE_CONTACT "The Daylight developers <maintainers@daylightcalc.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lengths of day and night on a planet with a tilted axis")
# The synopsis above comes first; these are the lines under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A one-window desktop calculator for students, teachers and world-builders: the
length of the solar day, the latitude, the axial tilt, the point of the year
and the length of the year give the shortest and longest day, daylight and
night on the chosen day, or the part of the year with the sun always up.
.
The companion daylight-cli computes the same from the command line, for one
planet, a batch of JSON lines, a whole year, or the real sky with refraction,
twilight and an elliptical orbit, and draws charts of them.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://daylightcalc.org/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The chart program links Qt's SVG library, which shlibdeps names; without it the icon's plugin
# still needs the package.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-dejavu-core")
if(NOT DAYLIGHT_BUILD_CHART)
    string(PREPEND CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, ")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/build/package)

# Debian's copyright file, machine-readable, with the license's text from LICENSE.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "^MIT License\n\n" "" license "${license}")
string(REGEX REPLACE "\n$" "" license "${license}")
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" holder "${license}")
set(holder "${CMAKE_MATCH_1}")
string(REGEX REPLACE "\n\n" "\n.\n" license "${license}")
string(REGEX REPLACE "\n" "\n " license "${license}")
file(WRITE ${PROJECT_BINARY_DIR}/package-files/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Daylight
Source: https://daylightcalc.org/
Comment: daylight-cli's places (places, --place) are GeoNames' (https://www.geonames.org/),
 licensed under CC BY 4.0, taken from Debian's libgeonames when it was built.

Files: *
Copyright: ${holder}
License: Expat
 ${license}
")
# The changelog, compressed as Debian asks: at most, and without a time stamp.
execute_process(COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/changelog
                OUTPUT_FILE ${PROJECT_BINARY_DIR}/package-files/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/package-files/copyright
              ${PROJECT_BINARY_DIR}/package-files/changelog.gz ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Manual pages made from each program's --help by help2man, where it is installed.
find_program(HELP2MAN help2man)
if(HELP2MAN)
    set(pages)
    set(programs "daylight-cli\;lengths of day and night on a planet with a tilted axis, from the command line")
    if(DAYLIGHT_BUILD_WINDOW)
        list(APPEND programs "daylight\;lengths of day and night on a planet with a tilted axis")
    endif()
    foreach(entry IN LISTS programs)
        list(GET entry 0 program)
        list(GET entry 1 name)
        set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
        add_custom_command(OUTPUT ${page}.gz
            COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
            COMMAND ${HELP2MAN} --no-info --section=1 "--name=${name}" --output=${page}
                    $<TARGET_FILE:${program}>
            COMMAND gzip -9 -n -f ${page}
            DEPENDS ${program} VERBATIM)
        list(APPEND pages ${page}.gz)
    endforeach()
    add_custom_target(manual_pages ALL DEPENDS ${pages})
    install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

include(CPack)

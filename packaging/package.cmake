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
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-liberation2, fonts-dejavu-core")
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

Files: *
Copyright: ${holder}
License: Expat
 ${license}
")
# The changelog, compressed as Debian asks: at most, and without a time stamp.
execute_process(COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/changelog
                OUTPUT_FILE ${PROJECT_BINARY_DIR}/package-files/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/package-files/copyright
              ${PROJECT_BINARY_DIR}/package-files/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(CPack)

# The metainfo's project_license names the license of the LICENSE file.
file(READ ${SOURCE_DIR}/window/data/org.daylightcalc.daylight.metainfo.xml metainfo)
file(STRINGS ${SOURCE_DIR}/LICENSE first LIMIT_COUNT 1)
string(REGEX MATCH "<project_license>([^<]+)</project_license>" found "${metainfo}")
if(NOT first STREQUAL "${CMAKE_MATCH_1} License")
    message(FATAL_ERROR "LICENSE begins \"${first}\", the metainfo declares ${CMAKE_MATCH_1}")
endif()

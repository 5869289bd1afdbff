# Installs into a scratch prefix and checks that each file lands where desktops look for it.
set(prefix ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()
foreach(path bin/daylight bin/daylight-cli
             share/applications/org.daylightcalc.Daylight.desktop
             share/metainfo/org.daylightcalc.Daylight.metainfo.xml
             share/icons/hicolor/scalable/apps/org.daylightcalc.Daylight.svg)
    if(NOT EXISTS ${prefix}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
file(REMOVE_RECURSE ${prefix})

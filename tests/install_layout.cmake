# Installs into a scratch prefix and checks that each file lands where desktops and shells look
# for it, and that the installed companion finds its chart program.
set(prefix ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()
set(paths bin/daylight-cli)
if(WINDOW)
    list(APPEND paths bin/daylight share/applications/org.daylightcalc.daylight.desktop share/doc/daylight/LICENSE
                      share/metainfo/org.daylightcalc.daylight.metainfo.xml
                      share/icons/hicolor/scalable/apps/org.daylightcalc.daylight.svg)
endif()
foreach(path IN LISTS paths)
    if(NOT EXISTS ${prefix}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
if(CHART)
    execute_process(COMMAND ${prefix}/bin/daylight-cli year --chart ${prefix}/year.svg
                    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE error)
    if(NOT status EQUAL 0 OR NOT EXISTS ${prefix}/year.svg)
        message(FATAL_ERROR "the installed daylight-cli drew no chart: ${error}")
    endif()
endif()
file(REMOVE_RECURSE ${prefix})

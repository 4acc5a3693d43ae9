# Writes the AppStream metainfo the way the build does for web bases the build
# was not configured with, and checks each with appstreamcli: an https base
# gives the homepage and the screenshot (an https image with the picture's
# size), an http base only the homepage, no base neither.
#
# Inputs: SOURCE_DIR, WORK_DIR, APP_ID.

cmake_minimum_required(VERSION 3.25)

include("${SOURCE_DIR}/packaging/web_metadata.cmake")
set(NORVALE_APP_ID "${APP_ID}")
find_program(APPSTREAMCLI appstreamcli)
if(NOT APPSTREAMCLI)
  message(FATAL_ERROR "appstreamcli is not installed (appstream)")
endif()

set(failures "")
macro(fail text)
  list(APPEND failures "${text}")
  message(STATUS "FAIL: ${text}")
endmacro()

file(REMOVE_RECURSE "${WORK_DIR}")
set(screenshot "${SOURCE_DIR}/docs/window.png")
foreach(case https http none)
  if(case STREQUAL "none")
    set(base "")
  else()
    # A trailing slash as packagers often write it.
    set(base "${case}://norvale.example/")
  endif()
  set(metainfo "${WORK_DIR}/${case}/${APP_ID}.metainfo.xml")
  norvale_write_metainfo("${SOURCE_DIR}/packaging/${APP_ID}.metainfo.xml.in" "${metainfo}"
                         "${base}" "${screenshot}" homepage)
  file(READ "${metainfo}" text)

  # Valid, and with no note either: an http address would be one.
  execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net --explain "${metainfo}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR (case STREQUAL "https" AND out MATCHES "(^|\n)[EWI]: "))
    fail("${case}: appstreamcli validate --no-net:\n${out}")
  endif()

  string(REGEX MATCH "<url type=\"homepage\">([^<]*)</url>" url "${text}")
  set(url "${CMAKE_MATCH_1}")
  string(REGEX MATCH "<image type=\"source\" width=\"([0-9]+)\" height=\"([0-9]+)\">([^<]*)</image>"
         image "${text}")
  set(width "${CMAKE_MATCH_1}")
  set(height "${CMAKE_MATCH_2}")
  set(image_url "${CMAKE_MATCH_3}")
  if(case STREQUAL "none")
    if(NOT homepage STREQUAL "" OR text MATCHES "<url|<screenshot")
      fail("none: a homepage or screenshot without a web base:\n${text}")
    endif()
    continue()
  endif()
  # One address for the package's Homepage field and the metainfo, no "//".
  if(NOT homepage STREQUAL "${case}://norvale.example/Norvale/" OR NOT url STREQUAL homepage)
    fail("${case}: homepage '${homepage}', metainfo url '${url}'")
  endif()
  if(case STREQUAL "http")
    if(text MATCHES "<screenshot")
      fail("http: a screenshot from an http address")
    endif()
  elseif(NOT image STREQUAL "" AND image_url STREQUAL "https://norvale.example/Norvale/window.png")
    # The size is the picture's own (its PNG header, read here by `file`).
    execute_process(COMMAND file -b "${screenshot}" OUTPUT_VARIABLE kind)
    if(NOT kind MATCHES "PNG image data, ${width} x ${height},")
      fail("https: screenshot size ${width} x ${height}, the picture is ${kind}")
    endif()
  else()
    fail("https: no screenshot at https://norvale.example/Norvale/window.png:\n${text}")
  endif()
endforeach()

if(failures)
  list(LENGTH failures count)
  message(FATAL_ERROR "${count} metainfo check(s) failed")
endif()
message(STATUS "the metainfo is valid with an https, an http and no web base")

# Builds the Debian package of a build tree with cpack into WORK_DIR and checks
# it: the files it installs, its control fields, the time stamps, the menu
# entry, the AppStream metainfo, the manual pages against the command's own
# --help, the hardening of the programs, lintian, and that a second build at
# another time and umask gives the same bytes.
# A tool that is not installed fails the check: make test installs them all.
#
# Inputs: CPACK, DPKG_DEB, DPKG_PARSECHANGELOG, READELF, OBJDUMP, START_FILES
# (the C library's start files), BUILD_DIR, WORK_DIR, VERSION, APP_ID, WEB_BASE.

cmake_minimum_required(VERSION 3.25)

set(failures "")
macro(fail text)
  list(APPEND failures "${text}")
  message(STATUS "FAIL: ${text}")
endmacro()

function(run_tool out_var rc_var)
  execute_process(COMMAND ${ARGN}
                  RESULT_VARIABLE rc
                  OUTPUT_VARIABLE out
                  ERROR_VARIABLE out)
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${rc_var} "${rc}" PARENT_SCOPE)
endfunction()

if(NOT DPKG_DEB OR NOT EXISTS "${BUILD_DIR}/CPackConfig.cmake")
  message(FATAL_ERROR "dpkg-deb or the CPack configuration is missing")
endif()

# --- Build the package ----------------------------------------------------------
# build_package(<deb var> <folder> <umask>) runs cpack into <folder>.
function(build_package deb_var folder umask)
  file(REMOVE_RECURSE "${folder}")
  file(MAKE_DIRECTORY "${folder}")
  run_tool(out rc sh -c "umask ${umask} && exec \"$0\" \"$@\"" "${CPACK}"
           -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${folder}")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cpack failed (${rc}):\n${out}")
  endif()
  file(GLOB debs "${folder}/*.deb")
  list(LENGTH debs count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one .deb in ${folder}, found ${count}:\n${out}")
  endif()
  set(${deb_var} "${debs}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
# A narrow umask proves the package's modes do not depend on the builder's.
build_package(deb "${WORK_DIR}/first" 0027)
get_filename_component(deb_name "${deb}" NAME)
message(STATUS "built ${deb_name}")
if(NOT deb_name MATCHES "^norvale_${VERSION}-[0-9]+_[a-z0-9]+\\.deb$")
  fail("package file name ${deb_name} is not norvale_${VERSION}-<revision>_<arch>.deb")
endif()

# --- Contents -------------------------------------------------------------------
run_tool(listing rc "${DPKG_DEB}" --contents "${deb}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb --contents failed:\n${listing}")
endif()
set(expected
    ./usr/bin/norvale
    ./usr/bin/norvale-cli
    ./usr/libexec/norvale/norvale-cli-full
    ./usr/share/applications/${APP_ID}.desktop
    ./usr/share/metainfo/${APP_ID}.metainfo.xml
    ./usr/share/icons/hicolor/scalable/apps/norvale.svg
    ./usr/share/icons/hicolor/48x48/apps/norvale.png
    ./usr/share/icons/hicolor/128x128/apps/norvale.png
    ./usr/share/man/man1/norvale.1.gz
    ./usr/share/man/man1/norvale-cli.1.gz
    ./usr/share/norvale/help.html
    ./usr/share/doc/norvale/copyright
    ./usr/share/doc/norvale/changelog.Debian.gz)
foreach(path IN LISTS expected)
  string(REGEX REPLACE "([.+])" "\\\\\\1" pattern "${path}")
  if(NOT listing MATCHES " ${pattern}\n")
    fail("the package lacks ${path}")
  endif()
endforeach()
# Everything belongs to root; directories and programs are 755, other files 644.
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  if(line STREQUAL "")
    continue()
  endif()
  if(NOT line MATCHES "^([-d][-rwx]+) root/root ")
    fail("wrong owner or mode: ${line}")
  elseif(line MATCHES "^d" AND NOT line MATCHES "^drwxr-xr-x ")
    fail("directory mode is not 755: ${line}")
  elseif(line MATCHES "^-.*/usr/(bin|libexec/norvale)/" AND NOT line MATCHES "^-rwxr-xr-x ")
    fail("program mode is not 755: ${line}")
  elseif(line MATCHES "^-" AND NOT line MATCHES "/usr/(bin|libexec/norvale)/"
         AND NOT line MATCHES "^-rw-r--r-- ")
    fail("file mode is not 644: ${line}")
  endif()
endforeach()

# --- Control fields -----------------------------------------------------------
foreach(field Package Version Architecture Section Priority Maintainer Depends Recommends)
  run_tool(value rc "${DPKG_DEB}" --field "${deb}" ${field})
  string(STRIP "${value}" value)
  set(field_${field} "${value}")
  if(value STREQUAL "")
    fail("control field ${field} is empty")
  endif()
endforeach()
message(STATUS "Depends: ${field_Depends}")
if(NOT field_Package STREQUAL "norvale")
  fail("Package is '${field_Package}', not norvale")
endif()
if(NOT field_Version MATCHES "^${VERSION}(-[0-9]+)?$")
  fail("Version '${field_Version}' does not belong to ${VERSION}")
endif()
# The widgets library proves dpkg-shlibdeps ran; the font is drawn, not linked.
foreach(needed libqt6widgets6 fonts-dejavu-extra)
  if(NOT field_Depends MATCHES "(^|, )${needed}( |,|$)")
    fail("Depends lacks ${needed}: ${field_Depends}")
  endif()
endforeach()
if(field_Depends MATCHES "-dev( |,|$)")
  fail("Depends names a development package: ${field_Depends}")
endif()
# xdg-open opens the web pages; the Wayland plugin draws a native window.
foreach(wanted xdg-utils qt6-wayland)
  if(NOT field_Recommends MATCHES "(^|, )${wanted}( |,|$)")
    fail("Recommends lacks ${wanted}: ${field_Recommends}")
  endif()
endforeach()
# A homepage only from the configured web base, never an invented one.
run_tool(homepage rc "${DPKG_DEB}" --field "${deb}" Homepage)
string(STRIP "${homepage}" homepage)
string(REGEX REPLACE "/+$" "/" web_base_slash "${WEB_BASE}/")
string(FIND "${homepage}" "${web_base_slash}" at)
if(WEB_BASE STREQUAL "" AND NOT homepage STREQUAL "")
  fail("Homepage '${homepage}' although no web base is configured")
elseif(NOT WEB_BASE STREQUAL "" AND NOT at EQUAL 0)
  fail("Homepage '${homepage}' is not a page below the web base ${WEB_BASE}")
endif()
run_tool(description rc "${DPKG_DEB}" --field "${deb}" Description)
string(REGEX MATCH "^[^\n]*" synopsis "${description}")
string(LENGTH "${description}" description_length)
string(LENGTH "${synopsis}" synopsis_length)
math(EXPR minimum_length "${synopsis_length} + 20")
if(synopsis MATCHES "^[Nn]orvale( |$)")
  fail("the synopsis starts with the package name: ${synopsis}")
endif()
if(description_length LESS minimum_length)
  fail("the extended description is empty")
endif()

# --- Unpacked files ----------------------------------------------------------------
set(root "${WORK_DIR}/root")
run_tool(out rc "${DPKG_DEB}" --extract "${deb}" "${root}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb --extract failed:\n${out}")
endif()

# The package's version and the time of every file are those of the latest
# entry of the changelog it ships (SOURCE_DATE_EPOCH), not of the build.
execute_process(COMMAND gzip -dc "${root}/usr/share/doc/norvale/changelog.Debian.gz"
                OUTPUT_FILE "${WORK_DIR}/changelog")
run_tool(changelog rc "${DPKG_PARSECHANGELOG}" -l "${WORK_DIR}/changelog")
if(NOT rc EQUAL 0 OR NOT changelog MATCHES "\nVersion: ([^\n]+)\n.*\nTimestamp: ([0-9]+)\n")
  fail("dpkg-parsechangelog cannot read the packaged changelog:\n${changelog}")
else()
  set(changelog_version "${CMAKE_MATCH_1}")
  set(ENV{SOURCE_DATE_EPOCH} "${CMAKE_MATCH_2}")
  string(TIMESTAMP changelog_time "%Y-%m-%d %H:%M" UTC)
  unset(ENV{SOURCE_DATE_EPOCH})
  if(NOT field_Version STREQUAL changelog_version)
    fail("Version ${field_Version} is not the changelog's latest, ${changelog_version}")
  endif()
  foreach(line IN LISTS lines)
    if(NOT line STREQUAL "" AND NOT line MATCHES " ${changelog_time} ")
      fail("time stamp is not the changelog's ${changelog_time} UTC: ${line}")
    endif()
  endforeach()
endif()
# gzip -n: no file name and no time in the compressed pages and changelog.
file(GLOB_RECURSE compressed "${root}/*.gz")
foreach(file IN LISTS compressed)
  file(READ "${file}" gzip_header LIMIT 8 HEX)
  if(NOT gzip_header MATCHES "^1f8b08([0-9a-f][0-7])00000000$")
    fail("gzip header of ${file} holds a time or a file name: ${gzip_header}")
  endif()
endforeach()

# The menu entry starts the installed program under its name and icon.
set(desktop_file "${root}/usr/share/applications/${APP_ID}.desktop")
if(EXISTS "${desktop_file}")
  file(READ "${desktop_file}" entry)
  foreach(key_value "Name=Norvale" "Exec=norvale" "Icon=norvale" "Type=Application")
    if(NOT entry MATCHES "(^|\n)${key_value}\n")
      fail("${APP_ID}.desktop lacks the line ${key_value}")
    endif()
  endforeach()
endif()

# The entry is clean: no error, no warning and no hint.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  run_tool(out rc "${DESKTOP_FILE_VALIDATE}" "${desktop_file}")
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    fail("desktop-file-validate:\n${out}")
  endif()
else()
  fail("desktop-file-validate is not installed (desktop-file-utils)")
endif()

find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  set(metainfo "${root}/usr/share/metainfo/${APP_ID}.metainfo.xml")
  run_tool(out rc "${APPSTREAMCLI}" validate --no-net "${metainfo}")
  if(NOT rc EQUAL 0)
    fail("appstreamcli validate --no-net:\n${out}")
  endif()
  # Without a web base there is no address for a homepage or a screenshot.
  file(READ "${metainfo}" metainfo_text)
  if(WEB_BASE STREQUAL "" AND metainfo_text MATCHES "<url|<screenshot")
    fail("the metainfo names web addresses although no web base is configured")
  endif()
  # The tree check also follows the launchable to the installed menu entry.
  run_tool(out rc "${APPSTREAMCLI}" validate-tree --no-net "${root}")
  if(NOT rc EQUAL 0)
    fail("appstreamcli validate-tree --no-net:\n${out}")
  endif()
else()
  fail("appstreamcli is not installed (appstream)")
endif()

# The manual pages format without a warning from man.
find_program(MAN man)
if(MAN)
  foreach(page norvale.1 norvale-cli.1)
    set(ENV{MANROFFSEQ} "")
    set(ENV{MANWIDTH} 80)
    execute_process(COMMAND "${MAN}" --warnings -E UTF-8 -l -Tutf8 -Z
                            "${root}/usr/share/man/man1/${page}.gz"
                    RESULT_VARIABLE rc
                    OUTPUT_QUIET
                    ERROR_VARIABLE warnings)
    if(NOT rc EQUAL 0 OR NOT warnings STREQUAL "")
      fail("man reports problems in ${page}:\n${warnings}")
    endif()
  endforeach()
else()
  fail("man is not installed (man-db)")
endif()

# Every option the command lists in --help is documented in its manual page,
# and the installed program reports the package's version.
set(cli "${root}/usr/bin/norvale-cli")
if(EXISTS "${cli}")
  run_tool(help rc "${cli}" --help)
  if(NOT rc EQUAL 0)
    fail("norvale-cli --help failed (${rc}):\n${help}")
  endif()
  execute_process(COMMAND gzip -dc "${root}/usr/share/man/man1/norvale-cli.1.gz"
                  OUTPUT_VARIABLE manual)
  string(REPLACE "\\-" "-" manual "${manual}")
  string(REGEX MATCHALL "--[a-z][a-z-]*" options "${help}")
  list(REMOVE_DUPLICATES options)
  if(options STREQUAL "")
    fail("norvale-cli --help names no options:\n${help}")
  endif()
  foreach(option IN LISTS options)
    string(FIND "${manual}" "${option}" at)
    if(at EQUAL -1)
      fail("norvale-cli.1 does not document ${option}")
    endif()
  endforeach()
  run_tool(out rc "${cli}" --version)
  string(FIND "${out}" "${VERSION}" at)
  if(NOT rc EQUAL 0 OR at EQUAL -1)
    fail("norvale-cli --version does not report ${VERSION} (${rc}): ${out}")
  endif()
endif()

# --- Hardening ----------------------------------------------------------------
# The programs as Debian hardens them: PIE, full RELRO with immediate binding,
# the stack protector (__stack_chk_fail imported), control-flow protection, and
# stripped of the compiler's .comment. _FORTIFY_SOURCE is left to release
# builds and lintian: it shows only where calls have sizes the compiler knows.
set(start_files_marked TRUE)
foreach(file IN LISTS START_FILES)
  run_tool(notes rc "${READELF}" --notes -W "${file}")
  if(NOT notes MATCHES "x86 feature: IBT, SHSTK")
    set(start_files_marked FALSE)
  endif()
endforeach()
foreach(path bin/norvale bin/norvale-cli libexec/norvale/norvale-cli-full)
  get_filename_component(program "${path}" NAME)
  set(binary "${root}/usr/${path}")
  run_tool(elf rc "${READELF}" --file-header --program-headers --section-headers
           --dynamic --dyn-syms --notes -W "${binary}")
  if(NOT rc EQUAL 0)
    fail("readelf cannot read ${program}:\n${elf}")
    continue()
  endif()
  if(NOT elf MATCHES "\n *Type: +DYN ")
    fail("${program} is not a position-independent executable")
  endif()
  if(NOT elf MATCHES "\n *GNU_RELRO ")
    fail("${program} has no GNU_RELRO segment")
  endif()
  if(NOT elf MATCHES "\\(FLAGS\\) +BIND_NOW" OR NOT elf MATCHES "\\(FLAGS_1\\) +Flags: NOW PIE")
    fail("${program} is not linked with -z now (BIND_NOW)")
  endif()
  if(NOT elf MATCHES " UND __stack_chk_fail@")
    fail("${program} does not import __stack_chk_fail: no stack protector")
  endif()
  if(elf MATCHES "\\] \\.comment ")
    fail("${program} keeps its .comment section")
  endif()
  # The CET note appears only when every linked object has it. Debian 12's
  # start files have not, so the compiled code is checked instead: without
  # -fcf-protection only the compiler's crtbegin brings endbr64 (two), with
  # it every function that can be reached indirectly begins with one.
  if(start_files_marked AND NOT elf MATCHES "x86 feature: IBT, SHSTK")
    fail("${program} lacks the note 'x86 feature: IBT, SHSTK' that its start files have")
  endif()
  execute_process(COMMAND "${OBJDUMP}" --disassemble --no-show-raw-insn "${binary}"
                  COMMAND grep -c endbr64
                  OUTPUT_VARIABLE endbr_count OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT endbr_count GREATER 50)
    fail("${program} has ${endbr_count} endbr64 instructions: not built with -fcf-protection")
  endif()
  message(STATUS "${program}: PIE, RELRO, BIND_NOW, stack protector, ${endbr_count} endbr64")
endforeach()

# --- lintian ------------------------------------------------------------------
# No error and no warning; the notes are shown.
find_program(LINTIAN lintian)
if(LINTIAN)
  run_tool(out rc "${LINTIAN}" -I -E --pedantic --tag-display-limit 0 "${deb}")
  message(STATUS "lintian:\n${out}")
  if(out MATCHES "(^|\n)[EW]: ")
    fail("lintian reports errors or warnings")
  endif()
else()
  fail("lintian is not installed")
endif()

# --- Reproducible -------------------------------------------------------------
# A second build, some seconds later, under another umask and time zone and into
# another folder, gives the same bytes.
set(ENV{TZ} "Pacific/Kiritimati")
build_package(second "${WORK_DIR}/second" 0022)
set(ENV{TZ} "UTC")
file(SHA256 "${deb}" first_sum)
file(SHA256 "${second}" second_sum)
if(NOT first_sum STREQUAL second_sum)
  execute_process(COMMAND cmp "${deb}" "${second}" OUTPUT_VARIABLE where ERROR_VARIABLE where)
  fail("two builds of the package differ: ${where}")
else()
  message(STATUS "a second build is byte-identical (sha256 ${first_sum})")
endif()

if(failures)
  list(LENGTH failures count)
  message(FATAL_ERROR "${count} package check(s) failed")
endif()
message(STATUS "package ${deb_name} passed every check")

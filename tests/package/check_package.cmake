cmake_minimum_required(VERSION 3.25)

# Builds the .deb of BUILD_DIR into WORK_DIR and checks what a user relies on:
# the programs in the installation layout under PREFIX, the commands on the
# PATH, menu entries in English and Chinese whose Exec and Icon exist in the
# package, gzipped man pages, the copyright file and changelog, the Qt and font
# dependencies; that dpkg installs and removes it beside other software in /opt
# without a word; that lintian (LINTIAN, when found) finds no error or warning;
# and, for an optimised build (BUILD_TYPE), that the programs are hardened.

function(fail message)
  message(FATAL_ERROR "package check: ${message}")
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(COMMAND "${CPACK}" -G DEB -B "${WORK_DIR}"
  WORKING_DIRECTORY "${BUILD_DIR}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  fail("cpack failed:\n${output}")
endif()
file(GLOB debs "${WORK_DIR}/${PACKAGE_NAME}_*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
  fail("expected one ${PACKAGE_NAME}_*.deb in ${WORK_DIR}, found ${count}:\n${output}")
endif()
set(deb "${debs}")

# Contents: `dpkg-deb -c` lines end in the path (and " -> target" for links).
execute_process(COMMAND "${DPKG_DEB}" -c "${deb}" RESULT_VARIABLE result OUTPUT_VARIABLE listing)
if(NOT result EQUAL 0)
  fail("dpkg-deb -c failed")
endif()
set(root ".${PREFIX}")
set(expected
  "${root}/Version.ini"
  "${root}/language/mysetup.ini"
  "${root}/${SOFT_VERSION}/ZTP958FM"
  "${root}/${SOFT_VERSION}/ztp958fm-cli"
  "${root}/${SOFT_VERSION}/ztp958fm-radio-sim"
  "${root}/${SOFT_VERSION}/language/english.ini"
  "${root}/${SOFT_VERSION}/language/chinese.ini"
  "${root}/SetO/ZTP958FMSetO"
  "${root}/SetO/mysetup.ini"
  "./usr/bin/ztp958fm-cli -> ${PREFIX}/${SOFT_VERSION}/ztp958fm-cli"
  "./usr/bin/ztp958fm-radio-sim -> ${PREFIX}/${SOFT_VERSION}/ztp958fm-radio-sim"
  "./usr/share/applications/ztp958fm.desktop"
  "./usr/share/applications/ztp958fmseto.desktop"
  "./usr/share/icons/hicolor/scalable/apps/ztp958fm.svg"
  "./usr/share/icons/hicolor/scalable/apps/ztp958fmseto.svg"
  "./usr/share/man/man1/ztp958fm-cli.1.gz"
  "./usr/share/man/man1/ztp958fm-radio-sim.1.gz"
  "./usr/share/doc/${PACKAGE_NAME}/copyright"
  "./usr/share/doc/${PACKAGE_NAME}/changelog.gz")
foreach(entry ${expected})
  string(FIND "${listing}" " ${entry}\n" at)
  if(at EQUAL -1)
    fail("${entry} is not in the package:\n${listing}")
  endif()
endforeach()
# Nothing is written beside the programs at run time, so nothing such is shipped,
# and no build-tree paths leak in.
# /opt itself is the system's: a package listing it would own it.
foreach(unwanted "Setting.ini" "/usr/local/" "${BUILD_DIR}" " ./opt/\n")
  string(FIND "${listing}" "${unwanted}" at)
  if(NOT at EQUAL -1)
    fail("unexpected '${unwanted}' in the package:\n${listing}")
  endif()
endforeach()

# Control data: dependencies computed from the programs.
execute_process(COMMAND "${DPKG_DEB}" -f "${deb}" Package Depends OUTPUT_VARIABLE control)
foreach(dependency libqt6core6 libqt6widgets6 libqt6serialport6 libc6 fonts-wqy-microhei)
  string(FIND "${control}" "${dependency}" at)
  if(at EQUAL -1)
    fail("Depends lacks ${dependency}:\n${control}")
  endif()
endforeach()

# Menu entries: both languages, and Exec/Icon naming what the package holds.
set(extract "${WORK_DIR}/tree")
execute_process(COMMAND "${DPKG_DEB}" -x "${deb}" "${extract}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  fail("dpkg-deb -x failed")
endif()
foreach(entry ztp958fm ztp958fmseto)
  file(STRINGS "${extract}/usr/share/applications/${entry}.desktop" lines)
  set(seen "")
  foreach(line ${lines})
    if(line MATCHES "^(Name|Name\\[zh_CN\\]|Exec|Icon|Type)=(.+)$")
      list(APPEND seen "${CMAKE_MATCH_1}")
      if(CMAKE_MATCH_1 STREQUAL "Exec" AND NOT EXISTS "${extract}${CMAKE_MATCH_2}")
        fail("${entry}.desktop runs ${CMAKE_MATCH_2}, which the package does not hold")
      endif()
      if(CMAKE_MATCH_1 STREQUAL "Icon" AND NOT EXISTS
         "${extract}/usr/share/icons/hicolor/scalable/apps/${CMAKE_MATCH_2}.svg")
        fail("${entry}.desktop shows icon ${CMAKE_MATCH_2}, which the package does not hold")
      endif()
    endif()
  endforeach()
  foreach(key Type Name "Name[zh_CN]" Exec Icon)
    if(NOT key IN_LIST seen)
      fail("${entry}.desktop has no ${key}")
    endif()
  endforeach()
endforeach()

# Man pages are gzip data holding a man page.
foreach(page ztp958fm-cli ztp958fm-radio-sim)
  file(READ "${extract}/usr/share/man/man1/${page}.1.gz" head LIMIT 2 HEX)
  if(NOT head STREQUAL "1f8b")
    fail("${page}.1.gz is not gzip data")
  endif()
endforeach()
# The changelog's latest entry is this version.
execute_process(COMMAND gzip -dc "${extract}/usr/share/doc/${PACKAGE_NAME}/changelog.gz"
  OUTPUT_VARIABLE changelog)
if(NOT changelog MATCHES "^${PACKAGE_NAME} \\(${VERSION}\\) ")
  fail("the changelog does not begin with version ${VERSION}:\n${changelog}")
endif()

# dpkg installs into a root folder of its own: beside other software in /opt, and on a system
# without /opt. Removing the package says nothing and leaves /opt and the other software.
set(sandbox "${WORK_DIR}/root")
# dpkg looks for ldconfig and start-stop-daemon on the PATH, which a user's PATH may lack.
set(dpkg "${CMAKE_COMMAND}" -E env "PATH=/usr/sbin:/sbin:$ENV{PATH}"
  "${DPKG}" --force-not-root --force-script-chrootless --force-depends
  "--root=${sandbox}" "--admindir=${sandbox}/var/lib/dpkg")
foreach(other_software TRUE FALSE)
  file(REMOVE_RECURSE "${sandbox}")
  file(MAKE_DIRECTORY "${sandbox}/var/lib/dpkg/updates" "${sandbox}/var/lib/dpkg/info")
  file(TOUCH "${sandbox}/var/lib/dpkg/status")
  if(other_software)
    file(MAKE_DIRECTORY "${sandbox}/opt/other")
  endif()
  execute_process(COMMAND ${dpkg} --install "${deb}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0 OR NOT EXISTS "${sandbox}${PREFIX}/${SOFT_VERSION}/ztp958fm-cli")
    fail("dpkg could not install the package (other software in /opt: ${other_software}):\n"
         "${output}")
  endif()
  execute_process(COMMAND ${dpkg} --purge ${PACKAGE_NAME}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0 OR output MATCHES "warning|error" OR EXISTS "${sandbox}${PREFIX}"
     OR NOT IS_DIRECTORY "${sandbox}/opt")
    fail("removing the package was not clean (other software in /opt: ${other_software}):\n"
         "${output}")
  endif()
  if(other_software AND NOT IS_DIRECTORY "${sandbox}/opt/other")
    fail("removing the package took other software in /opt with it")
  endif()
endforeach()

# Lintian, Debian's own package checker: its errors and warnings fail the check; what the
# package overrides is explained in packaging/lintian-overrides.
if(LINTIAN)
  execute_process(COMMAND "${LINTIAN}" --fail-on error,warning "${deb}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    fail("lintian finds fault with the package:\n${output}${errors}")
  endif()
else()
  message(STATUS "package check: lintian not found, not run")
endif()

# Hardening of an optimised build, read from the programs as the loader sees them: full
# RELRO (a GNU_RELRO segment and immediate binding), the stack protector and the checked
# (_FORTIFY_SOURCE) variants of C library functions.
if(BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  foreach(program "${PREFIX}/${SOFT_VERSION}/ZTP958FM" "${PREFIX}/${SOFT_VERSION}/ztp958fm-cli"
                  "${PREFIX}/${SOFT_VERSION}/ztp958fm-radio-sim" "${PREFIX}/SetO/ZTP958FMSetO")
    execute_process(COMMAND "${READELF}" --wide --program-headers --dynamic --dyn-syms
      "${extract}${program}" OUTPUT_VARIABLE elf)
    foreach(mark "GNU_RELRO" "BIND_NOW" "__stack_chk_fail" "_chk@")
      string(FIND "${elf}" "${mark}" at)
      if(at EQUAL -1)
        fail("${program} is not hardened: ${mark} is missing")
      endif()
    endforeach()
  endforeach()
else()
  message(STATUS "package check: a ${BUILD_TYPE} build, hardening not checked")
endif()
message(STATUS "package check: ${deb} is complete")

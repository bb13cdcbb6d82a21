# CPack settings of the Debian package (`cpack -G DEB` in a build folder).
# The package installs the installation root at ${ZT_PACKAGE_PREFIX} and the
# system files of the "system" install component (see packaging/).

set(CPACK_PACKAGE_NAME "${ZT_PACKAGE_NAME}")
set(CPACK_PACKAGE_VENDOR "The ZTP958FM developers")
set(CPACK_PACKAGE_CONTACT "The ZTP958FM developers <ztp958fm@example.org>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Programming suite for the ZT-958FM handheld transceiver")
set(CPACK_PACKAGE_DESCRIPTION
  "Reads, edits and writes the channels and settings of a ZT-958FM radio over its
serial programming cable (ZTP958FM), reads the radio's information block and
writes dealer data to one or many radios (ZTP958FMSetO), does the same from
scripts (ztp958fm-cli), and offers a virtual radio for trying them
(ztp958fm-radio-sim).")
set(CPACK_PACKAGING_INSTALL_PREFIX "${ZT_PACKAGE_PREFIX}")
set(CPACK_INSTALL_PREFIX "${ZT_PACKAGE_PREFIX}")
# Absolute destinations (/usr/bin, /usr/share) go below the package's root.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)

# The installation layout (default component) and the system files.
set(CPACK_INSTALL_CMAKE_PROJECTS
  "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/"
  "${CMAKE_BINARY_DIR};${PROJECT_NAME};system;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Qt 6 and the C++ runtime, as the packaging tools find them in the programs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Added to those: the font the reports and windows draw Chinese texts with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei")
# /opt is the system's: made by preinst when missing, and taken out of the package's files
# once CPack has made it (packaging/deb_leave_opt.cmake), so the package never owns it.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_SOURCE_DIR}/packaging/preinst")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_SOURCE_DIR}/packaging/deb_leave_opt.cmake")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/ztp958fm")

include(CPack)

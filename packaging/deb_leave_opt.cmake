# Run by CPack after it made the Debian package (CPACK_POST_BUILD_SCRIPTS): takes the entry of
# /opt itself out of the package's files. /opt belongs to the system and is shared with other
# software; a package that lists it owns it, and dpkg then tries to remove it with the package
# ("directory '/opt' not empty so not removed"). The preinst script makes /opt when a system
# has none, so unpacking /opt/ztp958fm still finds its parent.
cmake_minimum_required(VERSION 3.25)

find_program(AR ar REQUIRED)
find_program(TAR tar REQUIRED)
find_program(GZIP gzip REQUIRED)

foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "\\.deb$")
    continue()
  endif()
  get_filename_component(work "${deb}.parts" ABSOLUTE)
  file(REMOVE_RECURSE "${work}")
  file(MAKE_DIRECTORY "${work}")
  execute_process(COMMAND "${AR}" t "${deb}" WORKING_DIRECTORY "${work}"
    OUTPUT_VARIABLE members COMMAND_ERROR_IS_FATAL ANY)
  string(STRIP "${members}" members)
  string(REPLACE "\n" ";" members "${members}")
  if(NOT members STREQUAL "debian-binary;control.tar.gz;data.tar.gz")
    message(FATAL_ERROR "unexpected members in ${deb}: ${members}")
  endif()
  execute_process(COMMAND "${AR}" x "${deb}" WORKING_DIRECTORY "${work}"
    COMMAND_ERROR_IS_FATAL ANY)
  # The data archive is made again from its own files, in its own order, without the entry
  # of /opt (what lies below it stays); owners, modes and times as they were.
  execute_process(COMMAND "${TAR}" -tzf data.tar.gz WORKING_DIRECTORY "${work}"
    OUTPUT_VARIABLE entries COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX REPLACE "(^|\n)\\./opt/\n" "\\1" entries "${entries}")
  file(WRITE "${work}/entries" "${entries}")
  file(MAKE_DIRECTORY "${work}/tree")
  execute_process(COMMAND "${TAR}" -xpzf ../data.tar.gz WORKING_DIRECTORY "${work}/tree"
    COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE "${work}/data.tar.gz")
  execute_process(
    COMMAND "${TAR}" --format=gnu --owner=root:0 --group=root:0 --no-recursion
      -C tree -cf data.tar -T entries
    WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND "${GZIP}" -9n data.tar WORKING_DIRECTORY "${work}"
    COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE "${deb}")
  # The members in the order dpkg requires.
  execute_process(COMMAND "${AR}" rcD "${deb}" debian-binary control.tar.gz data.tar.gz
    WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${work}")
endforeach()

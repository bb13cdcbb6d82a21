# Writes the header of named text ids from the language id list.
#   cmake -DIDS_FILE=<ids.txt> -DOUTPUT=<text_ids.h> -P ZtTextIds.cmake
# Each line of the list is id<TAB>section<TAB>meaning[<TAB>name]; a line with a
# name becomes `constexpr int <name> = <id>;` in namespace zt::text::<section>,
# the section in lower case. The header is only rewritten when it changes, so
# an edit of a meaning does not rebuild everything.
cmake_minimum_required(VERSION 3.25)

if(NOT IDS_FILE OR NOT OUTPUT)
  message(FATAL_ERROR "ZtTextIds.cmake needs -DIDS_FILE=... and -DOUTPUT=...")
endif()

file(STRINGS "${IDS_FILE}" lines ENCODING UTF-8)
set(sections "")
foreach(line IN LISTS lines)
  if(line MATCHES "^#" OR line STREQUAL "")
    continue()
  endif()
  # Semicolons would split the CMake list; meanings may hold them.
  string(REPLACE ";" "," line "${line}")
  string(REPLACE "\t" ";" fields "${line}")
  list(LENGTH fields count)
  if(count LESS 4)
    continue()
  endif()
  list(GET fields 0 id)
  list(GET fields 1 section)
  list(GET fields 3 name)
  if(NOT id MATCHES "^[0-9]+$" OR NOT section MATCHES "^[A-Za-z][A-Za-z0-9]*$"
     OR NOT name MATCHES "^[A-Za-z][A-Za-z0-9]*$")
    message(FATAL_ERROR "${IDS_FILE}: bad named line: ${line}")
  endif()
  string(TOLOWER "${section}" ns)
  if(NOT ns IN_LIST sections)
    list(APPEND sections "${ns}")
    set(body_${ns} "")
  endif()
  if(DEFINED seen_${ns}_${name})
    message(FATAL_ERROR "${IDS_FILE}: name ${name} used twice in section ${section}")
  endif()
  set(seen_${ns}_${name} 1)
  string(APPEND body_${ns} "constexpr int ${name} = ${id};\n")
endforeach()

set(text "// Generated from data/language/ids.txt at build time: do not edit.\n")
string(APPEND text "#pragma once\n\nnamespace zt::text {\n")
foreach(ns IN LISTS sections)
  string(APPEND text "\nnamespace ${ns} {\n${body_${ns}}}  // namespace ${ns}\n")
endforeach()
string(APPEND text "\n}  // namespace zt::text\n")

file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT "${text}" @ONLY)

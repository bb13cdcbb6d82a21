cmake_minimum_required(VERSION 3.25)

# Renders the built man page of each program (PAGES: program=page pairs) as man shows it,
# with groff's warnings turned on, and checks that it is clean and shows every line of the
# program's --help, and the commands, options and faults a user looks up there.

function(fail message)
  message(FATAL_ERROR "man page check: ${message}")
endfunction()

# Lines compared with their runs of blanks squeezed to one.
function(squeeze text out)
  string(REGEX REPLACE "[ \t]+" " " text "${text}")
  string(REGEX REPLACE " *\n *" "\n" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(expected_ztp958fm-cli read write info info-write show ports export import report
  --trace --verify --batch --skip-bad --dry-run --paper --language)
set(expected_ztp958fm-radio-sim --memory --echo --baud --fault drop= corrupt= refuse= lag=
  lag_ms= lose= unplug= seed= --register SIGUSR1)

foreach(pair ${PAGES})
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 program)
  list(GET pair 1 page)
  get_filename_component(name "${program}" NAME)
  if(NOT EXISTS "${page}")
    fail("${page} was not built")
  endif()
  execute_process(COMMAND "${GROFF}" -man -Tutf8 -ww -P-cbu "${page}"
    RESULT_VARIABLE result OUTPUT_VARIABLE shown ERROR_VARIABLE warnings)
  if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
    fail("groff finds fault with ${page}:\n${warnings}")
  endif()
  execute_process(COMMAND "${program}" --help RESULT_VARIABLE result OUTPUT_VARIABLE help)
  if(NOT result EQUAL 0)
    fail("${program} --help failed")
  endif()
  squeeze("${shown}" shown)
  squeeze("${help}" help)
  # Line by line without CMake lists: help lines hold ";" and "[".
  string(APPEND help "\n")
  while(NOT help STREQUAL "")
    string(FIND "${help}" "\n" end)
    string(SUBSTRING "${help}" 0 ${end} line)
    math(EXPR next "${end} + 1")
    string(SUBSTRING "${help}" ${next} -1 help)
    if(line STREQUAL "")
      continue()
    endif()
    string(FIND "${shown}" "\n${line}\n" at)
    if(at EQUAL -1)
      fail("${page} lacks this line of ${name} --help:\n${line}\n\nThe page shows:\n${shown}")
    endif()
  endwhile()
  foreach(word IN LISTS expected_${name})
    string(FIND "${shown}" "${word}" at)
    if(at EQUAL -1)
      fail("${page} does not mention ${word}")
    endif()
  endforeach()
endforeach()
message(STATUS "man page check: every --help line is in its page")

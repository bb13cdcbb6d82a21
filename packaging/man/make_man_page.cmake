# Writes a man page from its template (TEMPLATE) and the --help text of the program it
# describes (PROGRAM), so the page's synopsis is what the program itself prints and cannot
# fall behind it. The help text goes in unfilled, column for column, with the characters
# troff treats specially escaped. Also takes VERSION and OUTPUT.
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND "${PROGRAM}" --help
  RESULT_VARIABLE result OUTPUT_VARIABLE help ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (${result}): ${errors}")
endif()

# Backslashes first, then minus signs (a plain "-" may print as a hyphen), then lines that
# would start with a control character.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "\n+$" "" help "${help}")
string(PREPEND help "\n")
string(REPLACE "\n." "\n\\&." help "${help}")
string(REPLACE "\n'" "\n\\&'" help "${help}")
string(SUBSTRING "${help}" 1 -1 help)

file(READ "${TEMPLATE}" page)
string(REPLACE "@USAGE@" ".nf\n${help}\n.fi" page "${page}")
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")

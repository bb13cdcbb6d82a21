# Runs the named-text-id generator on small lists and checks what it writes:
#   cmake -DGENERATOR=<ZtTextIds.cmake> -DWORK_DIR=<dir> -P text_ids_test.cmake
set(list "${WORK_DIR}/ids.txt")
set(header "${WORK_DIR}/text_ids.h")
file(REMOVE "${header}")

# Named lines become constants by section; unnamed lines and a meaning with a
# semicolon are kept out of the way.
file(WRITE "${list}" "# comment\n\n9006\tMsg\tsave? (Yes;No;Cancel)\tSaveChanges\n"
                     "9007\tMsg\tno name here\n10001\tMenu\tFile > New\tFileNew\n")
execute_process(COMMAND "${CMAKE_COMMAND}" "-DIDS_FILE=${list}" "-DOUTPUT=${header}"
                        -P "${GENERATOR}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "a valid list was refused")
endif()
file(READ "${header}" text)
foreach(expected "namespace msg {\nconstexpr int SaveChanges = 9006;\n}"
                 "namespace menu {\nconstexpr int FileNew = 10001;\n}")
  string(FIND "${text}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing from the header: ${expected}\n${text}")
  endif()
endforeach()
string(FIND "${text}" "9007" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "an unnamed id became a constant:\n${text}")
endif()

# A name used twice in one section, or a name that is no identifier, stops the build.
foreach(bad "9001\tMsg\ta\tSame\n9002\tMsg\tb\tSame\n" "9001\tMsg\ta\tNot a name\n")
  file(WRITE "${list}" "${bad}")
  execute_process(COMMAND "${CMAKE_COMMAND}" "-DIDS_FILE=${list}" "-DOUTPUT=${header}"
                          -P "${GENERATOR}" RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(result EQUAL 0)
    message(FATAL_ERROR "a bad list was accepted: ${bad}")
  endif()
endforeach()

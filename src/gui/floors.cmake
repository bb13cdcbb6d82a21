# The floors of src/gui: a folder may include (#include "gui/<folder>/...") its own headers and
# those of folders on lower floors only, never a folder on its own floor or above. The headers
# directly in src/gui (application context, child-window base, document events, window names,
# text codec) are common to every folder; they themselves stand on floor 1.
#
# Run as a script: cmake -DGUI_DIR=<src/gui> [-DSTAMP=<file written when all is well>] -P floors.cmake
# Every file under GUI_DIR is read; an include that reaches a floor not below its folder, a
# folder missing from the table or an include by a relative path ("../") is reported and fails.
set(ZT_GUI_FLOORS
  "prompt=0" "widgets=0"
  ".=1" "functions=1" "history=1" "infotool=1" "interop=1" "production=1" "report=1"
  "settings=1" "undo=1"
  "channels=2" "transfer=2"
  "shell=3")

if(NOT GUI_DIR)
  message(FATAL_ERROR "floors.cmake: GUI_DIR not given")
endif()

foreach(entry ${ZT_GUI_FLOORS})
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 folder)
  list(GET pair 1 floor)
  set(floor_of_${folder} ${floor})
endforeach()

file(GLOB_RECURSE files RELATIVE "${GUI_DIR}" "${GUI_DIR}/*.h" "${GUI_DIR}/*.cpp")
set(faults "")
foreach(file ${files})
  if(file MATCHES "^([^/]+)/")
    set(folder "${CMAKE_MATCH_1}")
  else()
    set(folder ".")
  endif()
  if(NOT DEFINED floor_of_${folder})
    string(APPEND faults "\n  ${file}: folder '${folder}' stands on no floor (add it to the table)")
    continue()
  endif()
  file(STRINGS "${GUI_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    if(line MATCHES "\"\\.\\./")
      string(APPEND faults "\n  ${file}: ${line} (include by the path from src, \"gui/...\")")
    elseif(line MATCHES "\"gui/([^/\"]+)/")
      set(used "${CMAKE_MATCH_1}")
      if(used STREQUAL folder)
        continue()
      endif()
      if(NOT DEFINED floor_of_${used})
        string(APPEND faults "\n  ${file}: ${line} (folder '${used}' stands on no floor)")
      elseif(NOT floor_of_${used} LESS floor_of_${folder})
        string(APPEND faults "\n  ${file}: ${line} ('${folder}' on floor ${floor_of_${folder}} "
                             "may not use '${used}' on floor ${floor_of_${used}})")
      endif()
    endif()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "A folder of src/gui includes one on its own floor or above:${faults}")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()

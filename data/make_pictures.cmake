# Generates the splash pictures (StartE.jpg, StartC.jpg) and the tiled background pictures
# (PIC/BK_1.jpg, PIC/BK_2.jpg) with ImageMagick's convert.
#
#   cmake -DCONVERT=<convert> -DOUT_DIR=<program folder> [-DCJK_FONT=<font file>] [-DSTAMP=<file>]
#         -P make_pictures.cmake
#
# The pictures are decoration only: a picture that cannot be made is reported and skipped, never
# an error, because the programs work without them.

if(NOT CONVERT OR NOT OUT_DIR)
    message(FATAL_ERROR "make_pictures.cmake needs CONVERT and OUT_DIR")
endif()

file(MAKE_DIRECTORY "${OUT_DIR}" "${OUT_DIR}/PIC")

set(title_font DejaVu-Sans-Bold)
set(text_font DejaVu-Sans)

# Runs convert with the given arguments; on failure tries once more with ImageMagick's default
# font (a system without the DejaVu fonts), then gives up with a warning.
function(zt_convert output)
    execute_process(COMMAND "${CONVERT}" ${ARGN} "${output}"
        RESULT_VARIABLE result ERROR_VARIABLE error_text OUTPUT_QUIET)
    if(NOT result EQUAL 0)
        set(plain_args ${ARGN})
        list(FILTER plain_args EXCLUDE REGEX "^(${title_font}|${text_font})$")
        list(FILTER plain_args EXCLUDE REGEX "^-font$")
        execute_process(COMMAND "${CONVERT}" ${plain_args} "${output}"
            RESULT_VARIABLE result ERROR_VARIABLE error_text OUTPUT_QUIET)
    endif()
    if(NOT result EQUAL 0)
        file(REMOVE "${output}")
        message(WARNING "Could not generate ${output}: ${error_text}")
    endif()
endfunction()

# Splash: a deep blue gradient with the model name, an amber rule and two lines of subtitle.
function(zt_splash output subtitle_font line1 line2)
    set(args -size 480x300 "gradient:#0c2340-#1d5a78"
        -fill none -stroke "#f0a030" -strokewidth 3 -draw "line 150,168 330,168" -stroke none
        -gravity center
        -font ${title_font} -fill white -pointsize 60 -annotate +0-40 "ZT-958FM")
    if(subtitle_font STREQUAL "")
        set(subtitle_font ${text_font})
    endif()
    list(APPEND args -font "${subtitle_font}" -fill "#d8e8f0" -pointsize 18
        -annotate +0+45 "${line1}" -pointsize 16 -annotate +0+78 "${line2}" -quality 92)
    zt_convert("${output}" ${args})
endfunction()

zt_splash("${OUT_DIR}/StartE.jpg" "" "AM/FM Transceiver   25.615 - 30.105 MHz"
    "Programming Software V3.00")
if(CJK_FONT)
    zt_splash("${OUT_DIR}/StartC.jpg" "${CJK_FONT}" "AM/FM 对讲机   25.615 - 30.105 MHz"
        "写频软件 V3.00")
else()
    zt_splash("${OUT_DIR}/StartC.jpg" "" "AM/FM   25.615 - 30.105 MHz" "V3.00")
endif()

# Background tile: a flat light colour with a faint slanted model name in the middle, so the
# tiles join without visible seams.
foreach(language 1 2)
    zt_convert("${OUT_DIR}/PIC/BK_${language}.jpg" -size 240x160 "xc:#e8eef3"
        -gravity center -font ${title_font} -pointsize 24 -fill "#d9e3ea"
        -annotate 345x345+0+0 "ZT-958FM" -quality 92)
endforeach()

if(STAMP)
    file(TOUCH "${STAMP}")
endif()

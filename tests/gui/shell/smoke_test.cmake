# The programming program on a virtual X server without a window manager
# (scripts/smoke-xvfb.sh); skipped when xvfb-run is missing.
if(TARGET ZTP958FM)
  add_test(NAME gui_smoke_xvfb
    COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/smoke-xvfb.sh" "$<TARGET_FILE:ZTP958FM>")
  set_tests_properties(gui_smoke_xvfb PROPERTIES
    LABELS gui SKIP_RETURN_CODE 77 TIMEOUT 120
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;LANG=en_US.UTF-8;LC_ALL=;LC_MESSAGES=")
endif()

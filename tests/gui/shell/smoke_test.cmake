# The programming program on a virtual X server without a window manager
# (scripts/smoke-xvfb.sh); skipped when xvfb-run is missing.
if(TARGET ZTP958FM)
  add_test(NAME gui_smoke_xvfb
    COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/smoke-xvfb.sh" "$<TARGET_FILE:ZTP958FM>")
  set_tests_properties(gui_smoke_xvfb PROPERTIES
    LABELS gui SKIP_RETURN_CODE 77 TIMEOUT 120
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;LANG=en_US.UTF-8;LC_ALL=;LC_MESSAGES=")
endif()

# The same program as a screen reader sees it through AT-SPI: every control that
# takes the focus or offers an action has a name (scripts/atspi-xvfb.sh);
# skipped when the virtual X server, the session bus, at-spi2-core or
# python3-pyatspi is missing.
if(TARGET ZTP958FM)
  add_test(NAME gui_atspi_names_xvfb
    COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/atspi-xvfb.sh" "$<TARGET_FILE:ZTP958FM>")
  set_tests_properties(gui_atspi_names_xvfb PROPERTIES
    LABELS gui SKIP_RETURN_CODE 77 TIMEOUT 150
    ENVIRONMENT "LANG=en_US.UTF-8;LC_ALL=;LC_MESSAGES=")
endif()

# Whole-program runs: the real executables, headless or under Xvfb.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XLIB REQUIRED IMPORTED_TARGET x11)

add_executable(x11_screenshot tools/x11_screenshot.cpp)
target_link_libraries(x11_screenshot PRIVATE test_support PkgConfig::XLIB)

add_test(NAME desktop_e2e
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/with_xvfb.sh bash ${CMAKE_CURRENT_LIST_DIR}/desktop_e2e.sh
          $<TARGET_FILE:duckdemo> $<TARGET_FILE:x11_screenshot> ${CMAKE_CURRENT_BINARY_DIR}/output)
set_tests_properties(desktop_e2e PROPERTIES TIMEOUT 90 RUN_SERIAL TRUE)

add_test(NAME handheld_e2e
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/with_xvfb.sh bash ${CMAKE_CURRENT_LIST_DIR}/handheld_e2e.sh
          $<TARGET_FILE:duckdemo-ce> $<TARGET_FILE:x11_screenshot> ${CMAKE_CURRENT_BINARY_DIR}/output)
set_tests_properties(handheld_e2e PROPERTIES TIMEOUT 90 RUN_SERIAL TRUE)

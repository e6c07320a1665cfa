# The platform layers' memory-only pieces and the dialog manager's reading of
# their resources. Included from tests/CMakeLists.txt.

duckdemo_test(platform_convert_tests
  SOURCES
    platform/desktop/convert_test.cpp
    platform/pocketpc/convert_test.cpp
  LIBRARIES desktop_convert pocketpc_convert
)

# The page's input queue needs nothing of the browser.
duckdemo_test(web_input_tests
  SOURCES
    platform/web/web_input_test.cpp
    ${PROJECT_SOURCE_DIR}/platform/web/web_input.cpp
)

duckdemo_test(dialog_template_tests
  SOURCES
    standin/dialog/dialog_template_test.cpp
  LIBRARIES standin_dialog desktop_resources
)
# The compiled resource script the table was made from, to compare against.
target_compile_definitions(dialog_template_tests PRIVATE
  DUCKDEMO_COMPILED_RESOURCES="${PROJECT_BINARY_DIR}/platform/duckdemo.res")

# Where mingw-w64 is installed: the desktop layer against the real Windows
# headers, so it keeps to calls Windows has.
find_program(MINGW_CXX x86_64-w64-mingw32-g++-posix)
if(MINGW_CXX)
  add_test(NAME desktop_sources_compile_for_windows
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DCOMPILER=${MINGW_CXX}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/checks/compile_for_windows.cmake)
endif()

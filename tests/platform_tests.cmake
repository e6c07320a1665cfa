# The platform layers' memory-only pieces and the dialog manager's reading of
# their resources. Included from tests/CMakeLists.txt.

duckdemo_test(platform_convert_tests
  SOURCES
    platform/desktop/convert_test.cpp
    platform/pocketpc/convert_test.cpp
  LIBRARIES desktop_convert pocketpc_convert
)

duckdemo_test(dialog_template_tests
  SOURCES
    standin/dialog/dialog_template_test.cpp
  LIBRARIES standin_dialog_template desktop_resources
)

# The desktop layer through the real stand-ins, on SDL's offscreen video
# driver: window procedure, setup box, DirectDraw open, present and close.
duckdemo_test(desktop_tests LOCK program_log
  SOURCES
    platform/desktop/display_ddraw_test.cpp
    platform/desktop/frame_pace_test.cpp
    platform/desktop/setup_dialog_test.cpp
    platform/desktop/window_test.cpp
  LIBRARIES fake_fmod desktop_platform desktop_resources
)

# A virtual day of the game on the desktop layer in capture, and a turn
# through the tick counter's wrap. Where a swap draws its ducks is checked
# at every step.
duckdemo_test(soak_tests
  SOURCES app/soak_test.cpp
  LIBRARIES fake_fmod desktop_platform desktop_resources standin_host standin_kernel32
)
target_compile_definitions(soak_tests PRIVATE DUCKDEMO_PROGRAM="$<TARGET_FILE:duckdemo>")
add_dependencies(soak_tests assetgen_data)

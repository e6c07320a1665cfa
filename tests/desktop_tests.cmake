# The desktop layer through the real stand-ins, on SDL's offscreen video
# driver: window procedure, setup box, DirectDraw open, present and close.
duckdemo_test(desktop_tests LOCK program_log
  SOURCES
    platform/desktop/display_ddraw_test.cpp
    platform/desktop/setup_dialog_test.cpp
    platform/desktop/window_test.cpp
  LIBRARIES fake_fmod desktop_platform desktop_resources
)

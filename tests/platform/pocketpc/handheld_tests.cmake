# The handheld layer through the real stand-ins, on SDL's offscreen video
# driver: window procedure, GAPI open, present and close.
duckdemo_test(handheld_tests LOCK program_log
  SOURCES
    platform/pocketpc/display_gapi_test.cpp
    platform/pocketpc/window_test.cpp
  LIBRARIES fake_fmod pocketpc_platform
)

# The sound stand-in on real libxmp and a real SDL audio device (SDL's disk
# driver, which needs no sound card), with the small modules the tests build.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XMP REQUIRED IMPORTED_TARGET libxmp)

add_library(xm_builder STATIC support/xm_builder.cpp)
target_include_directories(xm_builder PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(xm_builder PUBLIC duckdemo_warnings assetgen_core)

duckdemo_test(fmod_tests LIBRARIES standin_fmod formats xm_builder PkgConfig::XMP SOURCES
  standin/fmod/fmod_offline_test.cpp
  support/xm_builder_test.cpp
)

# The song's clock against the wall clock, on a real device thread.
duckdemo_test(fmod_clock_tests SERIAL LIBRARIES standin_fmod xm_builder PkgConfig::XMP SOURCES
  standin/fmod/fmod_test.cpp
)

# The music player's lines go to the program's one log file, and its clock is timed.
duckdemo_test(fmod_program_tests SERIAL LIBRARIES standin_fmod xm_builder SOURCES
  standin/fmod/music_player_fmod_test.cpp
)

# The window-system stand-ins: the message queue on SDL's offscreen video
# driver, and the hardware settings.
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
duckdemo_test(standin_tests LIBRARIES fake_fmod standin_user32 standin_process standin_hardware standin_kernel32
  standin_shell32 PkgConfig::SDL2 SOURCES
  standin/hardware/hardware_test.cpp
  standin/kernel32/kernel32_test.cpp
  standin/shell32/shell32_test.cpp
  standin/user32/message_queue_test.cpp
)

# Capture mode's pictures: the host's pixel formats turned into RGB, and PNG
# folders read back with libpng.
duckdemo_test(capture_tests LIBRARIES standin_capture standin_host formats PNG::PNG SOURCES
  standin/host/frame_image_test.cpp
  standin/capture/input_script_test.cpp
  standin/capture/png_folder_test.cpp
  standin/capture/video_sink_test.cpp
)

# The real programs in capture mode, their frames and music read back.
duckdemo_test(capture_program_tests LIBRARIES desktop_convert PNG::PNG SOURCES
  standin/capture/capture_session_test.cpp
)
target_compile_definitions(capture_program_tests PRIVATE DUCKDEMO_PROGRAM="$<TARGET_FILE:duckdemo>"
  DUCKDEMO_CE_PROGRAM="$<TARGET_FILE:duckdemo-ce>")
add_dependencies(capture_program_tests duckdemo duckdemo-ce assetgen_data)

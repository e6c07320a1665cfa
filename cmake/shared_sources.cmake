# What every build of the programs compiles alike, listed once: the sound
# library's song, clock and decoding, to which each build adds its own
# output (an SDL device, waveOut or Web Audio), and the desktop platform
# layer. Included from the top CMakeLists.txt before any build's own file.
set(DUCKDEMO_SOUND_SOURCES
  standin/fmod/fmod.cpp
  standin/fmod/fmod_clock_log.cpp
  standin/fmod/fmod_offline.cpp
  standin/fmod/fmod_song.cpp
)
list(TRANSFORM DUCKDEMO_SOUND_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/)

set(DUCKDEMO_DESKTOP_PLATFORM_SOURCES
  platform/desktop/convert.cpp
  platform/desktop/display_ddraw.cpp
  platform/desktop/frame_pace.cpp
  platform/desktop/setup_dialog.cpp
  platform/desktop/start_problems.cpp
  platform/desktop/window.cpp
)
list(TRANSFORM DUCKDEMO_DESKTOP_PLATFORM_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/)

# The sound library's seven calls with output, a source of the build's own.
function(duckdemo_sound_library name output)
  add_library(${name} STATIC ${DUCKDEMO_SOUND_SOURCES} ${output})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE -fno-exceptions)
  target_link_libraries(${name} PUBLIC fmod_api duckdemo_warnings)
endfunction()

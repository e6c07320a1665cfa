# What every build of the programs makes alike, said once: the sound
# library's song, clock and decoding, to which each build adds its own
# output (an SDL device, waveOut or Web Audio), the desktop platform layer,
# and for the cross builds libxmp and the data made on the host. Included
# from the top CMakeLists.txt before any build's own file.
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

# libxmp for a build Debian packages none for (Windows, the browser), from
# Debian's source package, which scripts/install-deps.sh fetches. Its
# makefiles build only in their own tree, so it is copied into this build
# first: its "download" step is that local copy, and nothing is fetched at
# build time. Makes the imported library xmp.
#   CONFIGURE  the configure command, with the build's own tool and host words
#   MAKE       the make command
#   DEFINITIONS  what a user of xmp.h must define
function(duckdemo_xmp_from_source)
  cmake_parse_arguments(PARSE_ARGV 0 xmp "" "" "CONFIGURE;MAKE;DEFINITIONS")
  include(ExternalProject)
  set(DUCKDEMO_XMP_SOURCE ${PROJECT_SOURCE_DIR}/build/deps/libxmp CACHE PATH "libxmp's unpacked source package")
  if(NOT EXISTS ${DUCKDEMO_XMP_SOURCE}/configure)
    message(FATAL_ERROR "no libxmp source in ${DUCKDEMO_XMP_SOURCE}: run scripts/install-deps.sh")
  endif()
  set(tree ${CMAKE_BINARY_DIR}/libxmp)
  ExternalProject_Add(libxmp_build
    SOURCE_DIR ${tree}
    DOWNLOAD_COMMAND ${CMAKE_COMMAND} -E copy_directory ${DUCKDEMO_XMP_SOURCE} ${tree}
    CONFIGURE_COMMAND ${xmp_CONFIGURE} --enable-static --disable-shared --disable-depackers --disable-prowizard
                      --quiet
    BUILD_IN_SOURCE TRUE
    BUILD_COMMAND ${xmp_MAKE} --quiet lib/libxmp.a
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${tree}/lib/libxmp.a
    LOG_CONFIGURE TRUE
    LOG_BUILD TRUE
    LOG_OUTPUT_ON_FAILURE TRUE)
  file(MAKE_DIRECTORY ${tree}/include)
  add_library(xmp STATIC IMPORTED)
  set_target_properties(xmp PROPERTIES IMPORTED_LOCATION ${tree}/lib/libxmp.a
    INTERFACE_INCLUDE_DIRECTORIES ${tree}/include INTERFACE_COMPILE_DEFINITIONS "${xmp_DEFINITIONS}")
  add_dependencies(xmp libxmp_build)
endfunction()

# This source tree again, built for the machine the build runs on, for what
# its tools make (data/, the icons) under the build's host/; nothing is
# fetched. Makes the target host_data.
function(duckdemo_host_data)
  cmake_parse_arguments(PARSE_ARGV 0 host "" "" "TARGETS;BYPRODUCTS")
  include(ExternalProject)
  ExternalProject_Add(host_data
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/host
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DDUCKDEMO_TESTS=OFF -DDUCKDEMO_WERROR=${DUCKDEMO_WERROR}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target ${host_TARGETS}
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE
    BUILD_BYPRODUCTS ${host_BYPRODUCTS})
endfunction()

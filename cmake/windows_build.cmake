# The desktop program for Windows: the engine and platform/desktop/ against
# the SDK's own headers and libraries, the setup box from its resource script,
# and the sound library's seven calls over libxmp with waveOut as the output.
# No stand-in header is on the include path. Included from the top
# CMakeLists.txt when the toolchain targets Windows.
target_compile_options(duckdemo_warnings INTERFACE -Wconversion)

cmake_host_system_information(RESULT build_jobs QUERY NUMBER_OF_LOGICAL_CORES)
duckdemo_xmp_from_source(
  CONFIGURE ./configure --host=${DUCKDEMO_MINGW_HOST} CC=${CMAKE_C_COMPILER}
  MAKE make -j ${build_jobs}
  DEFINITIONS BUILDING_STATIC)

# The sound library's declarations, alone in a folder of their own.
configure_file(${PROJECT_SOURCE_DIR}/standin/include/fmod.h ${CMAKE_BINARY_DIR}/sound_api/fmod.h COPYONLY)
add_library(fmod_api INTERFACE)
target_include_directories(fmod_api INTERFACE ${CMAKE_BINARY_DIR}/sound_api)

# The seven calls: the Linux stand-in's song, clock and decoding, played
# through waveOut.
duckdemo_sound_library(fmod_waveout ${PROJECT_SOURCE_DIR}/standin/fmod/fmod_waveout.cpp)
target_link_libraries(fmod_waveout PRIVATE xmp winmm)

# The exe's icon (drawn by the data generator), its version and manifest.
set(resource_dir ${CMAKE_BINARY_DIR}/resources)
set(DUCKDEMO_VERSION_DOTTED ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
string(REPLACE "." "," DUCKDEMO_VERSION_COMMAS ${DUCKDEMO_VERSION_DOTTED})
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/duckdemo.manifest.in ${resource_dir}/duckdemo.manifest @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/duckdemo_version.h.in ${resource_dir}/duckdemo_version.h @ONLY)

add_executable(duckdemo WIN32
  packaging/windows/program.rc
  platform/desktop/desktop_main.cpp
  platform/desktop/duckdemo.rc
  platform/desktop/system.cpp
  ${DUCKDEMO_DESKTOP_PLATFORM_SOURCES}
)
target_include_directories(duckdemo PRIVATE ${PROJECT_SOURCE_DIR} ${resource_dir})
target_compile_definitions(duckdemo PRIVATE DUCKDEMO_VERSION="${PROJECT_VERSION}")
target_link_libraries(duckdemo PRIVATE app demo sound gfx core fmod_waveout duckdemo_warnings ddraw dxguid user32
  gdi32 shell32)
# WIN32 links it with -mwindows; the C and C++ runtimes go inside the
# executable, so it runs with no DLL beside it.
target_link_options(duckdemo PRIVATE -static)
set_target_properties(duckdemo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# data/ beside the program: copied from a Linux build that has it, or made
# by a Linux build of the data generator of this folder's own.
set(DUCKDEMO_DATA_DIR "" CACHE PATH "A Linux build's data/ to copy beside the program; empty: generate it")
set(DUCKDEMO_ICONS_DIR "" CACHE PATH "The same build's icons/, with duckdemo.ico; empty: generate it")
if(DUCKDEMO_DATA_DIR)
  set(data_source ${DUCKDEMO_DATA_DIR})
  set(icon_source ${DUCKDEMO_ICONS_DIR}/duckdemo.ico)
  add_custom_target(windows_data ALL
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${data_source} ${CMAKE_BINARY_DIR}/data VERBATIM)
else()
  set(data_source ${CMAKE_BINARY_DIR}/host/data)
  set(icon_source ${CMAKE_BINARY_DIR}/host/icons/duckdemo.ico)
  duckdemo_host_data(TARGETS assetgen_data assetgen_icons BYPRODUCTS ${icon_source})
  add_custom_target(windows_data ALL
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${data_source} ${CMAKE_BINARY_DIR}/data VERBATIM)
  add_dependencies(windows_data host_data)
endif()

add_custom_command(OUTPUT ${resource_dir}/duckdemo.ico
  COMMAND ${CMAKE_COMMAND} -E copy ${icon_source} ${resource_dir}/duckdemo.ico
  DEPENDS ${icon_source}
  VERBATIM)
set_source_files_properties(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc PROPERTIES
  OBJECT_DEPENDS "${resource_dir}/duckdemo.ico;${resource_dir}/duckdemo.manifest;${resource_dir}/duckdemo_version.h")

# The zip a Windows user unpacks anywhere: the exe, data/ and a short
# README.txt, in one folder named after the version.
set(zip_name duckdemo-${PROJECT_VERSION}-windows-x64)
set(zip_folder ${CMAKE_BINARY_DIR}/zip/${zip_name})
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in ${CMAKE_BINARY_DIR}/zip/README.txt @ONLY
  NEWLINE_STYLE CRLF)
add_custom_target(windows_zip ALL
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${zip_folder} ${CMAKE_BINARY_DIR}/${zip_name}.zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${zip_folder}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:duckdemo> ${CMAKE_BINARY_DIR}/zip/README.txt ${zip_folder}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_BINARY_DIR}/data ${zip_folder}/data
  COMMAND ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/${zip_name}.zip --format=zip --mtime=${DUCKDEMO_RELEASE_DATE}
          ${zip_name}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/zip
  BYPRODUCTS ${CMAKE_BINARY_DIR}/${zip_name}.zip
  VERBATIM)
add_dependencies(windows_zip duckdemo windows_data)

# The page: the engine and platform/web/ compiled to WebAssembly with Debian's
# emscripten, the sound library's seven calls over libxmp with Web Audio as
# the output, and data/ packed beside it. Included from the top
# CMakeLists.txt when the toolchain is emscripten's. Writes build/web/.
include(ExternalProject)

# emscripten's tools run on node and need Debian's node modules.
set(web_tool_env NODE_PATH=/usr/share/nodejs NODE_OPTIONS=--no-experimental-fetch)
set(DUCKDEMO_WEB_DIR ${PROJECT_SOURCE_DIR}/build/web CACHE PATH "Where the page, its script, wasm and data go")

# libxmp from Debian's source package, which scripts/install-deps.sh fetches,
# copied and built in this build's tree once.
set(DUCKDEMO_XMP_SOURCE ${PROJECT_SOURCE_DIR}/build/deps/libxmp CACHE PATH "libxmp's unpacked source package")
if(NOT EXISTS ${DUCKDEMO_XMP_SOURCE}/configure)
  message(FATAL_ERROR "no libxmp source in ${DUCKDEMO_XMP_SOURCE}: run scripts/install-deps.sh")
endif()
set(xmp_tree ${CMAKE_BINARY_DIR}/libxmp)
ExternalProject_Add(libxmp_build
  SOURCE_DIR ${xmp_tree}
  DOWNLOAD_COMMAND ${CMAKE_COMMAND} -E copy_directory ${DUCKDEMO_XMP_SOURCE} ${xmp_tree}
  CONFIGURE_COMMAND ${CMAKE_COMMAND} -E env ${web_tool_env} emconfigure ./configure --enable-static --disable-shared
                    --disable-depackers --disable-prowizard --quiet
  BUILD_IN_SOURCE TRUE
  BUILD_COMMAND ${CMAKE_COMMAND} -E env ${web_tool_env} emmake make --quiet lib/libxmp.a
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${xmp_tree}/lib/libxmp.a
  LOG_CONFIGURE TRUE
  LOG_BUILD TRUE
  LOG_OUTPUT_ON_FAILURE TRUE)
file(MAKE_DIRECTORY ${xmp_tree}/include)
add_library(xmp STATIC IMPORTED)
# xmp.h includes <emscripten.h> inside its extern "C" block unless told not to.
set_target_properties(xmp PROPERTIES IMPORTED_LOCATION ${xmp_tree}/lib/libxmp.a
  INTERFACE_INCLUDE_DIRECTORIES ${xmp_tree}/include INTERFACE_COMPILE_DEFINITIONS "BUILDING_STATIC;XMP_SYM_VISIBILITY")
add_dependencies(xmp libxmp_build)

add_library(fmod_api INTERFACE)
target_include_directories(fmod_api INTERFACE ${PROJECT_SOURCE_DIR}/standin/include)

duckdemo_sound_library(fmod_webaudio ${PROJECT_SOURCE_DIR}/standin/fmod/fmod_webaudio.cpp)
target_link_libraries(fmod_webaudio PRIVATE xmp)

add_library(web_platform STATIC
  platform/desktop/convert.cpp
  platform/pocketpc/convert.cpp
  platform/web/display_canvas.cpp
  platform/web/web_input.cpp
)
target_include_directories(web_platform PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(web_platform PRIVATE -fno-exceptions)
target_link_libraries(web_platform PUBLIC gfx core duckdemo_warnings)

# data/: copied from a Linux build that has it, or made by a Linux build of
# the data generator of this folder's own.
set(DUCKDEMO_DATA_DIR "" CACHE PATH "A Linux build's data/ to pack; empty: generate it")
set(data_dir ${CMAKE_BINARY_DIR}/data)
if(DUCKDEMO_DATA_DIR)
  add_custom_target(web_data COMMAND ${CMAKE_COMMAND} -E copy_directory ${DUCKDEMO_DATA_DIR} ${data_dir} VERBATIM)
else()
  # This source tree again, built for the host; nothing is fetched.
  ExternalProject_Add(host_data
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/host
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DDUCKDEMO_TESTS=OFF -DDUCKDEMO_WERROR=${DUCKDEMO_WERROR}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target assetgen_data
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE)
  add_custom_target(web_data COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_BINARY_DIR}/host/data ${data_dir}
    VERBATIM)
  add_dependencies(web_data host_data)
endif()

add_executable(duckdemo platform/web/web_main.cpp platform/web/system.cpp)
target_compile_options(duckdemo PRIVATE -fno-exceptions)
target_link_libraries(duckdemo PRIVATE web_platform app demo sound gfx core fmod_webaudio duckdemo_warnings)
set(web_libraries ${PROJECT_SOURCE_DIR}/platform/web/canvas.js ${PROJECT_SOURCE_DIR}/standin/fmod/webaudio.js)
target_link_options(duckdemo PRIVATE
  -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=0 -sDISABLE_EXCEPTION_CATCHING=1
  "SHELL:--js-library ${PROJECT_SOURCE_DIR}/platform/web/canvas.js"
  "SHELL:--js-library ${PROJECT_SOURCE_DIR}/standin/fmod/webaudio.js"
  "SHELL:--preload-file ${data_dir}@/data")
set_target_properties(duckdemo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${DUCKDEMO_WEB_DIR} SUFFIX .js
  LINK_DEPENDS "${web_libraries}")
add_dependencies(duckdemo web_data)
add_custom_command(TARGET duckdemo POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/platform/web/index.html ${DUCKDEMO_WEB_DIR}/index.html
  VERBATIM)

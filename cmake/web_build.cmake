# The page: the engine and platform/web/ compiled to WebAssembly with Debian's
# emscripten, the sound library's seven calls over libxmp with Web Audio as
# the output, and data/ packed beside it. Included from the top
# CMakeLists.txt when the toolchain is emscripten's. Writes build/web/.

# emscripten's tools run on node and need Debian's node modules.
set(web_tool_env NODE_PATH=/usr/share/nodejs NODE_OPTIONS=--no-experimental-fetch)
set(DUCKDEMO_WEB_DIR ${PROJECT_SOURCE_DIR}/build/web CACHE PATH "Where the page, its script, wasm and data go")

# xmp.h includes <emscripten.h> inside its extern "C" block unless told not to.
duckdemo_xmp_from_source(
  CONFIGURE ${CMAKE_COMMAND} -E env ${web_tool_env} emconfigure ./configure
  MAKE ${CMAKE_COMMAND} -E env ${web_tool_env} emmake make
  DEFINITIONS BUILDING_STATIC XMP_SYM_VISIBILITY)

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
  duckdemo_host_data(TARGETS assetgen_data)
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

# The page, where emscripten, Chromium, node's ws and libxmp's source are
# installed: built with emscripten's toolchain beside this build, with this
# build's data, its engine tests run under node, and the page run in headless
# Chromium against this build's programs. Not under the sanitizers, whose
# programs the page is compared with gain nothing from it.
option(DUCKDEMO_WEB_E2E "Build the page beside this build and test it in headless Chromium" ON)
find_program(EMCMAKE_PROGRAM emcmake)
find_program(CHROMIUM_PROGRAM chromium)
find_program(NODE_PROGRAM node)
set(web_toolchain /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
if(DUCKDEMO_WEB_E2E AND NOT CMAKE_CXX_FLAGS MATCHES "sanitize" AND EMCMAKE_PROGRAM AND CHROMIUM_PROGRAM
   AND NODE_PROGRAM AND EXISTS ${web_toolchain} AND EXISTS /usr/share/nodejs/ws
   AND EXISTS ${PROJECT_SOURCE_DIR}/build/deps/libxmp/configure)
  include(ExternalProject)
  set(web_env NODE_PATH=/usr/share/nodejs NODE_OPTIONS=--no-experimental-fetch)
  set(web_build ${PROJECT_BINARY_DIR}/web-build)
  set(web_dir ${PROJECT_BINARY_DIR}/web)
  # This source tree again, with emscripten's toolchain; nothing is fetched.
  ExternalProject_Add(duckdemo_web
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${web_build}
    CONFIGURE_COMMAND ${CMAKE_COMMAND} -E env ${web_env} ${CMAKE_COMMAND} -G Ninja -S <SOURCE_DIR> -B <BINARY_DIR>
                      -DCMAKE_TOOLCHAIN_FILE=${web_toolchain} -DCMAKE_BUILD_TYPE=MinSizeRel -DDUCKDEMO_TESTS=ON
                      -DDUCKDEMO_WERROR=${DUCKDEMO_WERROR} -DDUCKDEMO_DATA_DIR=${PROJECT_BINARY_DIR}/data
                      -DDUCKDEMO_WEB_DIR=${web_dir}
    BUILD_COMMAND ${CMAKE_COMMAND} -E env ${web_env} ${CMAKE_COMMAND} --build <BINARY_DIR>
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE
    DEPENDS assetgen_data)

  # The engine's own tests, compiled by em++, under node.
  add_test(NAME web_engine_tests
    COMMAND ${CMAKE_COMMAND} -E env ${web_env} ${CMAKE_CTEST_COMMAND} --test-dir ${web_build} --output-on-failure)
  set_tests_properties(web_engine_tests PROPERTIES TIMEOUT 600)

  # The native programs' pictures at the times the page draws (a capture ends
  # as a normal quit does, with 1), then the page.
  set(web_times 2000,16800,30600,52000,65000)
  set(captures ${CMAKE_CURRENT_BINARY_DIR}/output/web-captures)
  add_test(NAME web_native_captures
    COMMAND sh -c "rm -rf \"$3\"; env -u DISPLAY \"$1\" --capture \"$3/desktop\" --at $4 --no-setup; \
env -u DISPLAY \"$2\" --capture \"$3/handheld\" --at $4; \
env -u DISPLAY \"$1\" --capture \"$3/greeting\" --at 65000 --no-setup --to Anna --from bob; \
test -f \"$3/greeting/t065000.png\" -a -f \"$3/desktop/t016800.png\" -a -f \"$3/handheld/t016800.png\""
            captures $<TARGET_FILE:duckdemo> $<TARGET_FILE:duckdemo-ce> ${captures} ${web_times})
  set_tests_properties(web_native_captures PROPERTIES FIXTURES_SETUP web_captures TIMEOUT 300)
  add_test(NAME web_browser
    COMMAND ${CMAKE_COMMAND} -E env ${web_env} ${NODE_PROGRAM} ${CMAKE_CURRENT_LIST_DIR}/browser_test.js ${web_dir}
            ${captures} ${web_times} ${CMAKE_CURRENT_BINARY_DIR}/output)
  set_tests_properties(web_browser PROPERTIES FIXTURES_REQUIRED web_captures TIMEOUT 600 RUN_SERIAL TRUE)
endif()

# Whole-program runs: the real executables, headless or under Xvfb.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XLIB REQUIRED IMPORTED_TARGET x11)

add_executable(x11_screenshot programs/x11_screenshot.cpp)
target_link_libraries(x11_screenshot PRIVATE test_support PkgConfig::XLIB)

add_test(NAME desktop_e2e
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/with_xvfb.sh bash ${CMAKE_CURRENT_LIST_DIR}/desktop_e2e.sh
          $<TARGET_FILE:duckdemo> $<TARGET_FILE:x11_screenshot> ${CMAKE_CURRENT_BINARY_DIR}/output)
set_tests_properties(desktop_e2e PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)

add_test(NAME handheld_e2e
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/with_xvfb.sh bash ${CMAKE_CURRENT_LIST_DIR}/handheld_e2e.sh
          $<TARGET_FILE:duckdemo-ce> $<TARGET_FILE:x11_screenshot> ${CMAKE_CURRENT_BINARY_DIR}/output)
set_tests_properties(handheld_e2e PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)

# The virtual display's scratch folder stays in the build tree too.
set(xvfb_scratch TMPDIR=${CMAKE_CURRENT_BINARY_DIR}/output/tmp)
set_property(TEST desktop_e2e handheld_e2e APPEND PROPERTY ENVIRONMENT ${xvfb_scratch})

# The Windows program under Wine, where mingw-w64, Wine and libxmp's source
# are installed: built with its own toolchain beside this build, with this
# build's data, and run against this build's program.
option(DUCKDEMO_WINDOWS_E2E "Build duckdemo.exe beside this build and run it under Wine" ON)
find_program(WINE_PROGRAM wine)
find_program(MINGW_CXX x86_64-w64-mingw32-g++-posix)
if(DUCKDEMO_WINDOWS_E2E AND WINE_PROGRAM AND MINGW_CXX AND EXISTS ${PROJECT_SOURCE_DIR}/build/deps/libxmp/configure)
  include(ExternalProject)
  # This source tree again, with the mingw-w64 toolchain; nothing is fetched.
  ExternalProject_Add(duckdemo_windows
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${PROJECT_BINARY_DIR}/windows
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
               -DDUCKDEMO_TESTS=OFF -DDUCKDEMO_WERROR=${DUCKDEMO_WERROR} -DDUCKDEMO_DATA_DIR=${PROJECT_BINARY_DIR}/data
               -DDUCKDEMO_ICONS_DIR=${PROJECT_BINARY_DIR}/icons
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE
    DEPENDS assetgen_data assetgen_icons)

  add_test(NAME windows_e2e
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/with_xvfb.sh bash ${CMAKE_CURRENT_LIST_DIR}/windows_e2e.sh
            ${PROJECT_BINARY_DIR}/windows/duckdemo.exe $<TARGET_FILE:duckdemo> $<TARGET_FILE:x11_screenshot>
            ${CMAKE_CURRENT_BINARY_DIR}/output ${PROJECT_BINARY_DIR}/wineprefix)
  # Making the Wine prefix, the first time, takes most of it.
  set_tests_properties(windows_e2e PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE ENVIRONMENT ${xvfb_scratch})

  # The exe's resources and the zip, as the Windows build made them.
  add_test(NAME windows_package
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/windows_package_e2e.sh ${PROJECT_BINARY_DIR}/windows/duckdemo.exe
            ${PROJECT_BINARY_DIR}/windows/duckdemo-${PROJECT_VERSION}-windows-x64.zip ${PROJECT_VERSION}
            ${PROJECT_BINARY_DIR}/data ${CMAKE_CURRENT_BINARY_DIR}/output)
  set_tests_properties(windows_package PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()

# Both desktop programs on a PulseAudio of the test's own: gaps, pace and
# sync measured from a recording of its sink and printed; skipped where
# PulseAudio cannot start.
add_executable(sound_sync programs/sound_sync.cpp)
target_link_libraries(sound_sync PRIVATE standin_fmod duckdemo_warnings)
target_include_directories(sound_sync PRIVATE ${PROJECT_SOURCE_DIR})
set(sound_sync_exe -)
if(TARGET duckdemo_windows)
  set(sound_sync_exe ${PROJECT_BINARY_DIR}/windows/duckdemo.exe)
endif()
add_test(NAME sound_sync_e2e
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/with_xvfb.sh bash ${CMAKE_CURRENT_LIST_DIR}/sound_sync_e2e.sh
          $<TARGET_FILE:duckdemo> ${sound_sync_exe} $<TARGET_FILE:sound_sync> $<TARGET_FILE:x11_screenshot>
          ${CMAKE_CURRENT_BINARY_DIR}/output ${PROJECT_BINARY_DIR}/wineprefix-sound)
set_tests_properties(sound_sync_e2e PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE SKIP_RETURN_CODE 77
  ENVIRONMENT ${xvfb_scratch})

# Broken data, a folder that cannot be written, a full disk, closed stdio and
# signals, each met by a copy of the program; headless.
foreach(program duckdemo duckdemo-ce)
  set(options "")
  if(program STREQUAL duckdemo)
    set(options --no-setup)
  endif()
  add_test(NAME bad_data_${program}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/bad_data_e2e.sh $<TARGET_FILE:${program}> ${CMAKE_CURRENT_BINARY_DIR}/output
            ${options})
  set_tests_properties(bad_data_${program} PROPERTIES TIMEOUT 900)
endforeach()

# The desktop program under memcheck, where valgrind is installed and the
# build is not instrumented by a sanitizer of its own.
find_program(VALGRIND_PROGRAM valgrind)
if(VALGRIND_PROGRAM AND NOT CMAKE_CXX_FLAGS MATCHES "sanitize")
  foreach(run intro game)
    add_test(NAME memcheck_${run}
      COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/memcheck_e2e.sh ${run} $<TARGET_FILE:duckdemo>
              ${PROJECT_SOURCE_DIR}/tests/valgrind.supp ${CMAKE_CURRENT_BINARY_DIR}/output)
    set_tests_properties(memcheck_${run} PROPERTIES TIMEOUT 900)
  endforeach()
endif()

# The Debian package of this build, made by the first test (a package of
# sanitized programs would depend on the sanitizers' libraries), then checked
# and run installed as an unprivileged user.
if(NOT CMAKE_CXX_FLAGS MATCHES "sanitize")
  add_test(NAME package_builds COMMAND ${CMAKE_COMMAND} --build ${PROJECT_BINARY_DIR} --target deb)
  set_tests_properties(package_builds PROPERTIES FIXTURES_SETUP debian_package TIMEOUT 600)
  add_test(NAME package_e2e
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/package_e2e.sh
            ${DUCKDEMO_PACKAGE_DIR}/duckdemo_${PROJECT_VERSION}_amd64.deb ${PROJECT_BINARY_DIR}/data
            ${CMAKE_CURRENT_BINARY_DIR}/output)
  set_tests_properties(package_e2e PROPERTIES FIXTURES_REQUIRED debian_package SKIP_RETURN_CODE 77 TIMEOUT 900)
endif()

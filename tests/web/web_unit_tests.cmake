# The engine's own tests for core/, gfx/ and demo/, compiled by em++ and run
# under node with the machine's files in reach. Included by the web build.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(tests_dir ${PROJECT_SOURCE_DIR}/tests)
add_library(web_test_support STATIC
  ${tests_dir}/fakes/fake_fmod.cpp
  ${tests_dir}/fakes/fake_system.cpp
  ${tests_dir}/support/synthetic_art.cpp
  ${tests_dir}/support/test_files.cpp
  ${tests_dir}/support/tga_files.cpp
  ${tests_dir}/web/png_unavailable.cpp
)
target_include_directories(web_test_support PUBLIC ${tests_dir} ${PROJECT_SOURCE_DIR})
target_link_libraries(web_test_support PUBLIC gfx core fmod_api gtest)
target_compile_definitions(web_test_support PRIVATE DUCKDEMO_TEST_OUTPUT_DIR="${CMAKE_BINARY_DIR}/tests/output")

# Left out, with why: the cases that write PNG files for a person (no libpng
# here), and those that read what the code wrote on stderr, which goes
# straight to node's console here and cannot be captured.
set(web_excluded
  DebugLog.AnotherCopyWritingTheLogLeavesItAloneAndNamesItsOwnApart
  DebugLog.AnUnwritableLogWarnsOnceAndCarriesOn
  DebugLog.AnOverlongPathIsRefusedNotCut
  TgaLoaderTest.APictureThatCannotBeUsedIsNamedOnStderrWithTheReason
  IntroFrameTest.RendersTellingTimesToPng
  GuessGameTest.AWrongGuessShowsWhereTheMarkedDuckWasAndKeepsTheLevel
  GuessGameTest.TheGuessPromptIsThePlatformsTextWhereThePlatformPutsIt)
list(JOIN web_excluded ":" web_filter)

function(web_engine_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE app demo sound gfx core web_test_support gtest gtest_main gmock)
  target_link_options(${name} PRIVATE -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1)
  add_test(NAME web_${name} COMMAND node $<TARGET_FILE:${name}> --gtest_filter=-${web_filter})
  set_tests_properties(web_${name} PROPERTIES TIMEOUT 300
    ENVIRONMENT "TEST_OUTPUT_DIR=${CMAKE_BINARY_DIR}/tests/output;NODE_OPTIONS=--no-experimental-fetch")
endfunction()

web_engine_test(core_tests
  ${tests_dir}/core/command_line_test.cpp
  ${tests_dir}/core/data_path_test.cpp
  ${tests_dir}/core/debug_log_test.cpp
  ${tests_dir}/core/envelope_test.cpp
  ${tests_dir}/core/random_test.cpp
  ${tests_dir}/core/sine_table_test.cpp)
web_engine_test(gfx_tests
  ${tests_dir}/gfx/bitmap_test.cpp
  ${tests_dir}/gfx/font_test.cpp
  ${tests_dir}/gfx/font_text_test.cpp
  ${tests_dir}/gfx/image_test.cpp
  ${tests_dir}/gfx/pixel_rows_test.cpp
  ${tests_dir}/gfx/tga_loader_test.cpp)
web_engine_test(demo_tests
  ${tests_dir}/demo/duck_row_test.cpp
  ${tests_dir}/demo/guess_game_test.cpp
  ${tests_dir}/demo/intro_test.cpp)

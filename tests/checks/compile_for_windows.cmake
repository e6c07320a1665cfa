# Compiles every desktop platform source against mingw-w64's own headers,
# with warnings as errors and no stand-in header on the include path, so a
# call or a type only our stand-ins declare fails here and not first on
# Windows.
#
#   cmake -DSOURCE_DIR=<repo> -DCOMPILER=<mingw-w64 g++> -P compile_for_windows.cmake

cmake_minimum_required(VERSION 3.25)

file(GLOB sources "${SOURCE_DIR}/platform/desktop/*.cpp")
if(NOT sources)
  message(FATAL_ERROR "no desktop sources in ${SOURCE_DIR}/platform/desktop")
endif()
set(failures "")
foreach(source ${sources})
  execute_process(
    COMMAND ${COMPILER} -std=c++20 -fsyntax-only -fno-exceptions -Wall -Wextra -Wpedantic -Wconversion -Werror
            -DDUCKDEMO_VERSION="0.0.0" -I${SOURCE_DIR} ${source}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    string(APPEND failures "${source}:\n${output}\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "not for Windows as written:\n${failures}")
endif()
list(LENGTH sources count)
message(STATUS "${count} desktop sources compile against the Windows headers")

# Fails when an engine file includes something its layer may not see: the
# engine (core, gfx, demo) sees only the standard library and the layers
# below it, sound also the sound library's header, and only the driver sees
# everything of the engine. No engine file sees SDL or a platform header.
#
#   cmake -DSOURCE_DIR=<repo> -P check_includes.cmake

cmake_minimum_required(VERSION 3.25)

set(standard_headers
  algorithm array atomic bit bitset cassert cctype cerrno cfloat charconv chrono cinttypes climits cmath
  compare concepts cstdarg cstddef cstdint cstdio cstdlib cstring functional initializer_list iterator
  limits memory new numbers numeric optional ranges span string string_view tuple type_traits utility
  variant vector)

set(allowed_core core)
set(allowed_gfx core gfx)
set(allowed_demo core gfx demo)
set(allowed_sound core sound)
set(allowed_program core gfx demo sound)

set(failures "")
foreach(layer core gfx demo sound)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
  foreach(source ${sources})
    set(allowed ${allowed_${layer}})
    set(system_headers ${standard_headers})
    if(source MATCHES "/core/program\\.(h|cpp)$")
      set(allowed ${allowed_program})
    endif()
    if(layer STREQUAL "sound")
      list(APPEND system_headers fmod.h)
    endif()
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
      if(line MATCHES "<([^>]+)>")
        if(NOT CMAKE_MATCH_1 IN_LIST system_headers)
          string(APPEND failures "${source}: <${CMAKE_MATCH_1}> is not for this layer\n")
        endif()
      elseif(line MATCHES "\"([^/\"]+)/[^\"]+\"")
        if(NOT CMAKE_MATCH_1 IN_LIST allowed)
          string(APPEND failures "${source}: \"${CMAKE_MATCH_1}/...\" is above or beside this layer\n")
        endif()
      else()
        string(APPEND failures "${source}: include without its folder: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "Engine layering broken:\n${failures}")
endif()
message(STATUS "engine includes: portable")

# Fails when a file includes something its layer may not see. The engine
# (core, gfx, demo) sees only the standard library and the layers below it;
# sound also the sound library's header; the driver (app) every engine layer.
# The platform layers see the engine, the driver, their own folder and the
# headers the platform's SDK names, never SDL or libxmp. The song's sources
# (assets) see the engine they are composed around, never the tools that
# turn them into files. The file formats (formats) see only the standard
# library and libpng; the stand-ins that write pictures and the tools see
# them, the tools never a stand-in. Each stand-in folder sees only the
# libraries it links, all on floors below it.
#
#   cmake -DSOURCE_DIR=<repo> -P check_includes.cmake

cmake_minimum_required(VERSION 3.25)

set(standard_headers
  algorithm array atomic bit bitset cassert cctype cerrno cfloat charconv chrono cinttypes climits cmath
  compare concepts cstdarg cstddef cstdint cstdio cstdlib cstring filesystem functional initializer_list iterator
  limits memory new numbers numeric optional ranges span string string_view tuple type_traits utility
  system_error variant vector)
# The C runtime's headers, as the platform SDKs ship them.
set(c_runtime_headers stdint.h stddef.h stdio.h stdlib.h string.h wchar.h)

set(allowed_core core)
set(allowed_gfx core gfx)
set(allowed_demo core gfx demo)
set(allowed_sound core sound)
set(allowed_app core gfx demo sound app)
set(allowed_platform core gfx demo sound app platform)
set(allowed_assets core gfx demo assets)
set(allowed_formats formats)
set(system_core ${standard_headers})
# The processor's vector instructions, where it has them.
set(system_gfx ${standard_headers} emmintrin.h immintrin.h)
set(system_demo ${standard_headers})
set(system_sound ${standard_headers} fmod.h)
set(system_app ${standard_headers})
set(system_platform ${standard_headers} ${c_runtime_headers} windows.h ddraw.h gx.h aygshell.h shlobj.h)
set(system_assets ${standard_headers} stdexcept)
set(system_formats ${standard_headers} png.h)

set(failures "")
foreach(layer core gfx demo sound app platform assets formats)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include")
    # The browser's platform layer sees the browser's headers and the sound
    # stand-in's host calls, as the other platforms see their SDKs.
    set(web_source FALSE)
    if(source MATCHES "/platform/web/")
      set(web_source TRUE)
    endif()
    foreach(line ${includes})
      if(web_source AND line MATCHES "<(emscripten[./][^>]+)>")
      elseif(web_source AND line MATCHES "\"standin/fmod/fmod_host.h\"")
      elseif(line MATCHES "<([^>]+)>")
        if(NOT CMAKE_MATCH_1 IN_LIST system_${layer})
          string(APPEND failures "${source}: <${CMAKE_MATCH_1}> is not for this layer\n")
        endif()
      elseif(line MATCHES "\"([^/\"]+)/[^\"]+\"")
        if(NOT CMAKE_MATCH_1 IN_LIST allowed_${layer})
          string(APPEND failures "${source}: \"${CMAKE_MATCH_1}/...\" is above or beside this layer\n")
        endif()
      else()
        string(APPEND failures "${source}: include without its folder: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

# The stand-ins are a stack: each folder sees its own headers and those of
# the libraries it links, all on floors below it, and no other folder of
# ours. They may include any system header, but SDL only in the host (video,
# events, text) and the sound library (audio), and libxmp only in the sound
# library.
set(standin_process process)
set(standin_hardware hardware)
set(standin_notice notice)
set(standin_kernel32 kernel32)
set(standin_fmod fmod)
set(standin_shell32 shell32 kernel32)
set(standin_host host process kernel32 shell32 formats)
set(standin_user32 user32 host hardware process kernel32 notice)
set(standin_gdi32 gdi32 user32 hardware)
set(standin_ddraw ddraw user32 host hardware)
set(standin_dialog dialog user32 host)
set(standin_gx gx user32 host hardware)
set(standin_aygshell aygshell user32 hardware)
set(standin_capture capture fmod host kernel32 process formats)
set(standin_entry entry capture hardware kernel32 process)
set(standin_include "")
set(sdl_folders host fmod)
set(xmp_folders fmod)
file(GLOB_RECURSE sources "${SOURCE_DIR}/standin/*.h" "${SOURCE_DIR}/standin/*.cpp")
foreach(source ${sources})
  file(RELATIVE_PATH relative "${SOURCE_DIR}/standin" "${source}")
  string(REGEX REPLACE "/.*" "" folder "${relative}")
  if(NOT DEFINED standin_${folder})
    string(APPEND failures "${source}: standin/${folder} has no place in the stack of stand-ins\n")
    continue()
  endif()
  file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${includes})
    if(line MATCHES "<(SDL[^>]*)>")
      if(NOT folder IN_LIST sdl_folders)
        string(APPEND failures "${source}: <${CMAKE_MATCH_1}> outside the host and the sound library\n")
      endif()
    elseif(line MATCHES "<xmp.h>")
      if(NOT folder IN_LIST xmp_folders)
        string(APPEND failures "${source}: <xmp.h> outside the sound library\n")
      endif()
    elseif(line MATCHES "\"standin/([^/\"]+)/[^\"]+\"")
      if(NOT CMAKE_MATCH_1 IN_LIST standin_${folder})
        string(APPEND failures "${source}: \"standin/${CMAKE_MATCH_1}/...\" is above or beside standin/${folder}\n")
      endif()
    elseif(line MATCHES "\"formats/[^\"]+\"")
      if(NOT "formats" IN_LIST standin_${folder})
        string(APPEND failures "${source}: \"formats/...\" is not for standin/${folder}\n")
      endif()
    elseif(line MATCHES "\"([^/\"]+)/[^\"]+\"")
      string(APPEND failures "${source}: \"${CMAKE_MATCH_1}/...\" is above the stand-ins\n")
    elseif(line MATCHES "\"")
      string(APPEND failures "${source}: include without its folder: ${line}\n")
    endif()
  endforeach()
endforeach()

# The tools that make the data files see the engine, the song and the file
# formats; the system headers are theirs to choose.
file(GLOB_RECURSE sources "${SOURCE_DIR}/tools/*.h" "${SOURCE_DIR}/tools/*.cpp")
foreach(source ${sources})
  file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    if(line MATCHES "\"([^/\"]+)/[^\"]+\"")
      set(folder "${CMAKE_MATCH_1}")
      if(NOT folder MATCHES "^(core|gfx|demo|app|assets|formats|tools)$")
        string(APPEND failures "${source}: \"${folder}/...\" is not for the tools\n")
      endif()
    endif()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "Layering broken:\n${failures}")
endif()
message(STATUS "includes: every layer sees only what it may")

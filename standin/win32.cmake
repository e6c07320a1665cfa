# The window-system stand-ins: user32, gdi32, kernel32, DirectDraw, the
# dialog manager, and the handheld's display and shell libraries.
pkg_check_modules(SDL2_TTF REQUIRED IMPORTED_TARGET SDL2_ttf)

add_library(standin_dialog_template STATIC dialog_template.cpp)
target_include_directories(standin_dialog_template PUBLIC include ${CMAKE_CURRENT_SOURCE_DIR} PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(standin_dialog_template PUBLIC duckdemo_warnings)

add_library(standin_win32 STATIC
  aygshell.cpp
  ddraw.cpp
  dialog.cpp
  gdi32.cpp
  gx.cpp
  hardware.cpp
  kernel32.cpp
  message_queue.cpp
  process_start.cpp
  sdl_host.cpp
  user32.cpp
)
target_include_directories(standin_win32 PUBLIC include PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(standin_win32 PUBLIC duckdemo_warnings standin_dialog_template
  PRIVATE PkgConfig::SDL2 PkgConfig::SDL2_TTF)

# main() for a program whose entry point is WinMain.
add_library(standin_winmain OBJECT winmain.cpp)
target_include_directories(standin_winmain PRIVATE include ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(standin_winmain PRIVATE duckdemo_warnings)

add_library(standin_winmain_ce OBJECT winmain_ce.cpp)
target_include_directories(standin_winmain_ce PRIVATE include ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(standin_winmain_ce PRIVATE duckdemo_warnings)

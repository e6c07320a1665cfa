# The window-system stand-ins: user32, gdi32, kernel32, DirectDraw, the
# dialog manager, and the handheld's display and shell libraries.
pkg_check_modules(SDL2_TTF REQUIRED IMPORTED_TARGET SDL2_ttf)

add_library(standin_dialog_template STATIC dialog/dialog_template.cpp)
target_include_directories(standin_dialog_template PUBLIC include PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(standin_dialog_template PUBLIC duckdemo_warnings)

add_library(standin_win32 STATIC
  aygshell/aygshell.cpp
  ddraw/ddraw.cpp
  dialog/dialog.cpp
  entry/process_start.cpp
  gdi32/gdi32.cpp
  gx/gx.cpp
  hardware/hardware.cpp
  host/sdl_host.cpp
  kernel32/kernel32.cpp
  user32/message_queue.cpp
  user32/user32.cpp
)
target_include_directories(standin_win32 PUBLIC include PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(standin_win32 PUBLIC duckdemo_warnings standin_dialog_template
  PRIVATE PkgConfig::SDL2 PkgConfig::SDL2_TTF)

# main() for a program whose entry point is WinMain.
add_library(standin_winmain OBJECT entry/winmain.cpp)
target_include_directories(standin_winmain PRIVATE include ${PROJECT_SOURCE_DIR})
target_link_libraries(standin_winmain PRIVATE duckdemo_warnings)

add_library(standin_winmain_ce OBJECT entry/winmain_ce.cpp)
target_include_directories(standin_winmain_ce PRIVATE include ${PROJECT_SOURCE_DIR})
target_link_libraries(standin_winmain_ce PRIVATE duckdemo_warnings)

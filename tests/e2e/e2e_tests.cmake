# Whole-program runs: the real executables, headless or under Xvfb.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XLIB REQUIRED IMPORTED_TARGET x11)

add_executable(x11_screenshot tools/x11_screenshot.cpp)
target_link_libraries(x11_screenshot PRIVATE test_support PkgConfig::XLIB)

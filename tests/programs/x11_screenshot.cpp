// Saves the whole X screen named by DISPLAY to a PNG file, for tests that run
// the programs under Xvfb and for a person who wants to see what they showed.
// Prints how many pixels are not black, so a test can tell a picture from an
// empty screen.
//
//   x11_screenshot out.png
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <vector>

#include "formats/png_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: x11_screenshot out.png\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x11_screenshot: cannot open the display\n");
        return 1;
    }
    Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    XImage* image = XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image == nullptr) {
        std::fprintf(stderr, "x11_screenshot: cannot read the screen\n");
        XCloseDisplay(display);
        return 1;
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(attributes.width) * attributes.height);
    long lit = 0;
    for (int y = 0; y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            uint32_t pixel = static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF;
            pixels[static_cast<size_t>(y) * attributes.width + x] = 0xFF000000u | pixel;
            if (pixel != 0) ++lit;
        }
    }
    XDestroyImage(image);
    XCloseDisplay(display);
    if (!WritePixelsPngFile(argv[1], pixels.data(), attributes.width, attributes.height, false)) {
        std::fprintf(stderr, "x11_screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%ld\n", lit);
    return 0;
}

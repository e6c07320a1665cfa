// No libpng under emscripten: the pictures tests write for a person to look
// at are not written there, and the cases that write them are left out.
#include "tools/common/png_writer.h"

bool WritePng(const std::string&, const uint32_t*, int32_t, int32_t, bool) { return false; }

bool WritePng(const std::string&, const Bitmap&, bool) { return false; }

std::vector<uint8_t> EncodePngWithAlpha(const uint32_t*, int32_t, int32_t) { return {}; }

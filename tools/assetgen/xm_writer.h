// The XM file writer: a module in memory as the bytes of an .xm file.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/song/xm_module.h"

// The file's bytes: version 0x0104, linear frequency table, packed cells,
// delta-coded 16-bit samples. Throws std::runtime_error on a module the
// format cannot hold.
std::vector<uint8_t> WriteXm(const XmModule& module);

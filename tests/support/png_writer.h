// The PNG writer lives beside the data generator, which draws its contact
// sheet with it; tests include it under this older name too.
#pragma once

#include "tools/common/png_writer.h"

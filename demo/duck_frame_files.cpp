// The file of each duck frame, apart from the code that loads them, so tools
// can name the files without the loader. The build reads the list of data
// files from these lines too: one quoted path a line.
#include <iterator>

#include "demo/duck_row.h"

const char* const kDuckFrameFiles[] = {
    "data\\duckie_stance.tga",
    "data\\duckie_sing.tga",
    "data\\duckie_sing_half.tga",
    "data\\duckie_left.tga",
    "data\\duckie_right.tga",
    "data\\duckie_angry_left.tga",
    "data\\duckie_angry_right.tga",
    "data\\duckie_sad.tga",
    "data\\duckie_sad_lookdown.tga",
    "data\\duckie_sad_sing.tga",
    "data\\duckie_sad_sing_half.tga",
    "data\\duckie_wtf_left.tga",
    "data\\duckie_wtf_right.tga",
    "data\\duckie_angry_left_sing.tga",
    "data\\duckie_angry_right_sing.tga",
    "data\\duckie_angry_left_sing_half.tga",
    "data\\duckie_angry_right_sing_half.tga",
    "data\\duckie_loud_sing.tga",
    "data\\duckie_loud_sing_half.tga",
};
static_assert(std::size(kDuckFrameFiles) == kDuckFrameCount, "one file for each DuckFrame");

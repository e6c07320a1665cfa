#include "support/xm_builder.h"

#include <xmp.h>

#include <gtest/gtest.h>
#include <string>

namespace {

// The clock tests count on the length and the loop the builder promises.
TEST(XmBuilder, LibxmpReadsTheModuleWithTheLengthAndRestartWritten) {
    XmSong song;
    song.rows = 4;
    std::string module = BuildXm(song);

    xmp_context decoder = xmp_create_context();
    ASSERT_EQ(xmp_load_module_from_memory(decoder, module.data(), static_cast<long>(module.size())), 0);
    xmp_module_info info{};
    xmp_get_module_info(decoder, &info);
    EXPECT_EQ(info.mod->len, 2);
    EXPECT_EQ(info.mod->rst, 1);
    EXPECT_EQ(info.mod->ins, 1);
    EXPECT_EQ(info.num_sequences, 1);
    EXPECT_EQ(info.seq_data[0].duration, XmSongLength(song));
    EXPECT_EQ(XmSongLength(song), 480);
    xmp_release_module(decoder);
    xmp_free_context(decoder);
}

}  // namespace

# The data files the generator makes, and the generator's own pieces. The
# checks read the files from the build tree, where the programs find them.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XMP REQUIRED IMPORTED_TARGET libxmp)

duckdemo_test(assets_tests
  SOURCES
    assets/data_files_test.cpp
    assets/song/song_test.cpp
    support/song_audio.cpp
    tools/assetgen/icon_test.cpp
    tools/assetgen/pixel_art_test.cpp
    tools/assetgen/xm_writer_test.cpp
  LIBRARIES fake_fmod assetgen_core PkgConfig::XMP
)
target_compile_definitions(assets_tests PRIVATE DUCKDEMO_DATA_DIR="${CMAKE_BINARY_DIR}/data")
add_dependencies(assets_tests assetgen_data)

# The song is compiled into the generator, so rendering it needs no sources.
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/output)
add_test(NAME assetgen.RendersTheSongWithoutTheAssetsFolder
  COMMAND assetgen --render-wav ${CMAKE_CURRENT_BINARY_DIR}/output/assetgen-song.wav)

# The data files the generator makes, and the generator's own pieces. The
# checks read the files from the build tree, where the programs find them.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XMP REQUIRED IMPORTED_TARGET libxmp)

duckdemo_test(assets_tests
  SOURCES
    assets/data_files_test.cpp
    assets/pixel_art_test.cpp
    assets/song_audio.cpp
    assets/song_test.cpp
    assets/xm_writer_test.cpp
  LIBRARIES fake_fmod assetgen_core PkgConfig::XMP
)
target_compile_definitions(assets_tests PRIVATE DUCKDEMO_DATA_DIR="${CMAKE_BINARY_DIR}/data")
add_dependencies(assets_tests assetgen_data)

# sonolux_bench: the spectrogram engine against an FFTW reference (FFTW is needed
# for the benchmark only).
find_package(PkgConfig REQUIRED)
pkg_check_modules(FFTW3 REQUIRED IMPORTED_TARGET fftw3)

add_executable(sonolux_bench SpectrogramBench.cpp FftwSpectrogram.cpp)
target_link_libraries(sonolux_bench PRIVATE
    sonolux_engine corvane_wave_writer benchmark::benchmark PkgConfig::FFTW3)
corvane_set_warnings(sonolux_bench)

# corvane_bench: the user's loop through the real main window.
add_executable(corvane_bench UserLoopBench.cpp)
target_include_directories(corvane_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/classifier)
target_link_libraries(corvane_bench PRIVATE corvane_ui corvane_wave_writer benchmark::benchmark)
add_dependencies(corvane_bench Sonolux)
corvane_set_warnings(corvane_bench)

# corvane_keys_bench: the key description parser and the key list reader on
# long input.
add_executable(corvane_keys_bench KeyListBench.cpp)
target_link_libraries(corvane_keys_bench PRIVATE corvane_keys benchmark::benchmark)
corvane_set_warnings(corvane_keys_bench)

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

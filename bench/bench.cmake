# sonolux_bench: the spectrogram engine against an FFTW reference (FFTW is needed
# for the benchmark only).
find_package(PkgConfig REQUIRED)
pkg_check_modules(FFTW3 REQUIRED IMPORTED_TARGET fftw3)

add_executable(sonolux_bench SpectrogramBench.cpp FftwSpectrogram.cpp)
target_link_libraries(sonolux_bench PRIVATE
    sonolux_engine corvane_wave_writer benchmark::benchmark PkgConfig::FFTW3)
corvane_set_warnings(sonolux_bench)

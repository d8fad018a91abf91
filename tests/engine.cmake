set(ENGINE_TEST_SOURCES
    engine/AllocationProbe.cpp
    engine/LiteralSpectrogram.cpp
    engine/WaveLoaderTest.cpp
    engine/SpectrogramGeometryTest.cpp
    engine/FftTest.cpp
    engine/SpectrogramComputerTest.cpp
    engine/SpectrogramImageTest.cpp)
# The command-line tool is exercised as users run it, where the build has it.
if(TARGET sonolux-grid)
    list(APPEND ENGINE_TEST_SOURCES engine/SonoluxGridTest.cpp)
endif()
corvane_add_test(test_engine SOURCES ${ENGINE_TEST_SOURCES} LIBRARIES sonolux_engine)
target_include_directories(test_engine PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/engine)
if(TARGET sonolux-grid)
    target_compile_definitions(test_engine PRIVATE SONOLUX_GRID_PATH="$<TARGET_FILE:sonolux-grid>")
    add_dependencies(test_engine sonolux-grid)
endif()

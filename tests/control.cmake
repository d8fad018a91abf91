corvane_add_test(test_control
    SOURCES control/CSonoluxCtrlTest.cpp control/DropTargetTest.cpp control/ModuleTest.cpp
            control/PropertyPageTest.cpp control/PropertyFrameTest.cpp
            control/RegistrationTest.cpp control/NonRegularFileTest.cpp
    LIBRARIES Sonolux sonolux_registry)
target_include_directories(test_control
    PRIVATE ${PROJECT_SOURCE_DIR}/spectrogram_control/registry)

# The program's side: finding and loading the module through the registry.
corvane_add_test(test_module
    SOURCES control/ControlModuleTest.cpp
    LIBRARIES corvane_ui)
add_dependencies(test_module Sonolux sonolux-register)

# A 200% screen (the tests set Qt's scale factor 2 themselves), in an executable
# of its own so that every other test keeps a device pixel ratio of 1.
corvane_add_test(test_control_hidpi
    SOURCES control/HighDensityScreenTest.cpp
    LIBRARIES Sonolux)

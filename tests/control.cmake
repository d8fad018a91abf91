corvane_add_test(test_control
    SOURCES control/CSonoluxCtrlTest.cpp control/DropTargetTest.cpp control/ModuleTest.cpp
    LIBRARIES Sonolux)

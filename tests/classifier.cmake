corvane_add_test(test_classifier_logic
    SOURCES classifier/GridLayoutTest.cpp classifier/WaveBatchTest.cpp classifier/FileSystemTest.cpp
            classifier/CommonDialogTest.cpp
    LIBRARIES corvane_ui)
corvane_add_test(test_main_window
    SOURCES classifier/SonoluxBordTest.cpp classifier/frmMainTest.cpp classifier/FakeServices.cpp
    LIBRARIES corvane_ui)
add_dependencies(test_main_window Sonolux)

corvane_add_test(test_classifier_logic
    SOURCES classifier/GridLayoutTest.cpp classifier/WaveBatchTest.cpp classifier/FileSystemTest.cpp
            classifier/CommonDialogTest.cpp classifier/FileMoverTest.cpp classifier/KeyMapTest.cpp
            classifier/CommandLineTest.cpp
    LIBRARIES corvane_ui)
# The command line is also asked of the real program, with no display at all.
target_compile_definitions(test_classifier_logic PRIVATE CORVANE_PATH="$<TARGET_FILE:corvane>")
add_dependencies(test_classifier_logic corvane)
corvane_add_test(test_main_window
    SOURCES classifier/SonoluxBordTest.cpp classifier/frmMainTest.cpp classifier/FakeServices.cpp
            classifier/ClassificationTest.cpp classifier/frmKeystrokeTest.cpp classifier/KeyListTest.cpp
            classifier/UndoTest.cpp classifier/MenuTest.cpp classifier/EndToEndTest.cpp
    LIBRARIES corvane_ui)
add_dependencies(test_main_window Sonolux)

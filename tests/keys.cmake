corvane_add_test(test_keys
    SOURCES
        keys/ImportMessageBoxTest.cpp
        keys/KeyEventTranslationTest.cpp
        keys/KeyListFileTest.cpp
        keys/KeyParserTest.cpp
        keys/KeyTablesTest.cpp
        keys/TargetFolderTest.cpp
    LIBRARIES corvane_keys
)
# A parser that slows down on long descriptions hangs on the megabyte ones
# the tests feed it; the run takes well under a second otherwise.
set_tests_properties(test_keys PROPERTIES TIMEOUT 120)

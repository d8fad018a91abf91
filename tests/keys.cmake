corvane_add_test(test_keys
    SOURCES
        keys/KeyEventTranslationTest.cpp
        keys/KeyListFileTest.cpp
        keys/KeyParserTest.cpp
        keys/KeyTablesTest.cpp
    LIBRARIES corvane_keys
)

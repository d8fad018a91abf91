corvane_add_test(test_settings
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings/TextConversionTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/settings/IniTextTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/settings/SafeFileWriterTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/settings/SettingsStoreTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/settings/SettingsOperationsTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/settings/frmOptionsTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/settings/frmAboutTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/settings/SmallDisk.cpp
    LIBRARIES corvane_options)
target_include_directories(test_settings PRIVATE ${CMAKE_CURRENT_LIST_DIR}/classifier
                                                 ${CMAKE_CURRENT_LIST_DIR}/settings)

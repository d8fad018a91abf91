# Settings store, options dialog and about box.
add_library(corvane_options STATIC
    CellSizeLimits.cpp
    IniText.cpp
    QtSettingsStore.cpp
    SafeFileWriter.cpp
    SettingsFileFormat.cpp
    SettingsKeys.cpp
    SettingsOperations.cpp
    TextConversion.cpp
    frmAbout.cpp
    frmOptions.cpp
)
target_include_directories(corvane_options PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(corvane_options PUBLIC corvane_logic corvane_keys Qt6::Widgets)
corvane_set_warnings(corvane_options)

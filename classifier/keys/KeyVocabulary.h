#pragma once

// The fixed content of the key tables, added through mdlKeycodes'
// AddKeyDescription and AddKeyName. Only BuildKeyTables calls these.
namespace mdlKeycodes {

// The 111 descriptions, one per described key code.
void AddFixedKeyDescriptions();

// The 349 further names of the described keys, 111 of them shifted names.
void AddFixedKeyNames();

}  // namespace mdlKeycodes

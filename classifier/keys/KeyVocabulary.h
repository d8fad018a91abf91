#pragma once

#include <QString>
#include <cstdint>

// The fixed content of the key tables. The vocabulary hands each entry to the
// function it is given, so that it knows nothing of the tables themselves;
// BuildKeyTables passes mdlKeycodes' AddKeyDescription and AddKeyName.
namespace KeyVocabulary {

using AddDescription = void (*)(const QString& description, std::int16_t keyCode);
using AddName = void (*)(const QString& name, std::int16_t keyCode, bool shifted);

// The 111 descriptions, one per described key code.
void AddFixedKeyDescriptions(AddDescription add);

// The 349 further names of the described keys, 111 of them shifted names.
void AddFixedKeyNames(AddName add);

}  // namespace KeyVocabulary

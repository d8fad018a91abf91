#pragma once

#include <QString>
#include <QStringList>

// The recordings of a bound folder that serve as its examples.
namespace ExampleFiles {

// Enough to learn a folder's sound; more would only make learning slower.
constexpr int DefaultLimit = 500;

// The wave files directly in `folder` (names as a batch takes them), the most
// recently modified first, at most `limit`; empty when the folder cannot be read.
QStringList MostRecent(const QString& folder, int limit = DefaultLimit);

}  // namespace ExampleFiles

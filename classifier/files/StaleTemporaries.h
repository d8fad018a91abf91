#pragma once

#include <QByteArray>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

// Temporary files that a killed Corvane leaves behind: partial copies of a
// move across file systems, partial settings and key list files.
//
// A temporary's name is a stem that says what it is for (".corvane-move-",
// ".keylist.txt.corvane-"), 16 random hexadecimal digits, a "-" and 8 more
// that are a check value of the stem and the random digits. Only Corvane
// writes that check value, so a file of the user's can only pass for a
// temporary if it was copied from one. A process marks each temporary it is
// writing as in use with both kinds of lock (flock, and an open file
// description lock that POSIX record locks also see); the system releases
// them when the process ends, however it ends.
namespace StaleTemporaries {

// Creates a new temporary in `folder` for reading and writing, marked in use
// for as long as the descriptor stays open, with the permission bits `mode`
// (less the user's creation mask). Returns the descriptor and sets `path`, or
// returns -1 with errno set.
int Create(const QByteArray& folder, std::string_view stem, unsigned mode, QByteArray& path);

// Removes from `folder` the temporaries of `stem` that nobody writes any
// more: regular files of this user with a single link, whose name carries the
// check value, not locked in either way, and untouched (neither modified nor
// changed) for a few seconds before `now`. Anything that cannot be checked is
// left alone. Returns how many were removed.
int Remove(const QByteArray& folder, std::string_view stem, std::time_t now);

// True when `name` is `stem` followed by a marker that Create could have made.
bool IsTemporaryName(std::string_view name, std::string_view stem);
// A name that Create could have made, for `stem` and the 16 hex digits `random`.
std::string TemporaryName(std::string_view stem, std::uint64_t random);

// The stem of a move's copy, and of a safe write's temporary for `fileName`.
constexpr std::string_view MoveCopyStem = ".corvane-move-";
std::string SafeWriteStem(std::string_view fileName);

}  // namespace StaleTemporaries

#pragma once

#ifndef _WIN32

#include <filesystem>

namespace vek {

// The user's runtime folder as named: $XDG_RUNTIME_DIR when set, else /tmp/vekstudio-UID (in
// $TMPDIR where that is set). Nothing is checked or made.
std::filesystem::path runtimeDirectory();

// Whether `directory` is a folder (no link) of this user that no other user may enter.
bool isPrivateDirectory(const std::filesystem::path& directory);
// Throws VekError unless `directory` is private.
void checkPrivateDirectory(const std::filesystem::path& directory);
// Creates `directory` (mode 0700) where it is missing; throws VekError unless it is private.
void ensurePrivateDirectory(const std::filesystem::path& directory);

// A folder for the user's sockets that no other user can enter, so nobody else can bind a name
// there first nor reach what is served: $XDG_RUNTIME_DIR where it is private, else
// /tmp/vekstudio-UID, else "run" in the user's data folder, made private as needed. Throws
// VekError when none of them is or can be made private.
std::filesystem::path privateRuntimeDirectory();

}  // namespace vek

#endif

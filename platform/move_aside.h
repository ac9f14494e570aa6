// A file that cannot be deleted now because its own program still runs (the
// installed setup program, while it waits for its temporary copy) can still
// be renamed on the same volume. Moving it out of the way lets its directory
// go now; it is deleted at the next restart from where it went.
#pragma once

#include <string>

// Moves `path` under a fresh name into `directory` and schedules it there for
// deletion at restart; true when it was moved. Nothing changes when it fails.
bool MoveAsideForRestart(const std::string& path, const std::string& directory);

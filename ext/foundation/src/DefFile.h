// Reading and atomically writing the options files.
#pragma once

#include <string>

enum class DefReadResult {
    Read,
    Missing,
    Failed
};

// Reads the whole file into `content`; on failure `error` says why.
DefReadResult DefFileRead(const std::string& path, std::string& content, std::string& error);

// Writes `content` to a temporary file in the target's folder (created when
// missing), flushed and synced, then renamed over the target; a symbolic
// link is followed to the file it names. On failure the old file stays, the
// temporary file is removed and `error` says why.
bool DefFileWriteAtomically(const std::string& path, const std::string& content, std::string& error);

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

// Makes the folder that the file is to go into when it is missing; false,
// with `error` saying why, when it cannot be made. The file itself is
// written with the system layer's atomic write (SysWriteFileAtomically).
bool DefFileMakeFolderFor(const std::string& path, std::string& error);

// Locale-independent character helpers shared by the system layer's sources.
#pragma once

inline char SysAsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool SysIsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

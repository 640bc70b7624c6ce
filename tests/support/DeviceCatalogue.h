// The device catalogue of one family (ZX3, die zx3_10, package tq100): what
// a test or benchmark that makes projects needs of the device options.
#pragma once

#include <foundation/Def.h>

// As defaults text; loading defaults replaces them whole, so a caller that
// needs more defaults loads them in one text with this.
inline constexpr const char* kOneDeviceFamily = "@choices FAM = ZX3\n@choices DIE[QFAM=ZX3] = zx3_10\n"
                                                "@choices PACKAGE[QFAM=ZX3,QDIE=zx3_10] = tq100\n";

inline void LoadOneDeviceFamily() { DefLoadDefaultsFromText(kOneDeviceFamily, nullptr); }

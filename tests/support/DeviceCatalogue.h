// The device catalogue of one family (ZX3, die zx3_10, package tq100): what
// a test or benchmark that makes projects needs of the device options.
#pragma once

#include <foundation/Def.h>

#include <string>

// `more` are further default settings: loading defaults replaces those
// loaded before, so they come in the same text.
inline void LoadOneDeviceFamily(const std::string& more = std::string())
{
    DefLoadDefaultsFromText("@choices FAM = ZX3\n@choices DIE[QFAM=ZX3] = zx3_10\n"
                            "@choices PACKAGE[QFAM=ZX3,QDIE=zx3_10] = tq100\n" +
                                more,
                            nullptr);
}

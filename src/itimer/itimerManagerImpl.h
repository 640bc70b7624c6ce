// The file watcher. Its filters and per-type lists are built from the flow
// by the file-watching work; until then it watches nothing, so there is
// nothing to forget or to copy.
#pragma once

#include "itimer/ItimerManager.h"

class itimerManagerImpl : public ItimerManager {
public:
    itimerManagerImpl() = default;

    void Reset() override {}
    void CopyRevisionFiles(int, int) override {}
};

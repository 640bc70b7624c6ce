// Result code of the command framework: every hook and every parameter check
// answers it. Callers compare with 0 and 1 too.
#pragma once

struct AcmdEnum {
    enum Result {
        Success = 0,
        Failure = 1
    };
};

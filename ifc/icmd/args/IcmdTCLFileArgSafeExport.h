// A single file argument for commands whose text is exported to be run
// elsewhere: an optional argument without a file is left out of the text. A
// file outside the project is accepted quietly while linking is enabled.
#pragma once

#include "icmd/args/IcmdTCLFileArg.h"

class IcmdTCLFileArgSafeExport : public IcmdTCLFileArg {
public:
    IcmdTCLFileArgSafeExport(AcmdBase* owner, bool required, bool inProject);

    bool ExportParam() const override;
};

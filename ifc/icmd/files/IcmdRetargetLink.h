// change_link_source: points a project entry at another existing file,
// copying nothing.
//
//   change_link_source -file <project file> -path <new source>
//
// A new source whose disk status differs from the one stored for the entry
// is parsed anew (the entry leaves and comes back); an unchanged one only
// takes the name and is announced as retargeted. A path that another entry
// of the project holds is refused.
#pragma once

#include "icmd/files/IcmdChangeFileBase.h"

class IcmdRetargetLink : public IcmdChangeFileBase {
public:
    IcmdRetargetLink();

    std::string GetName() const override { return "change_link_source"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdRetargetLink>(); }
    // 0 without a file or a path; 1 for a path that is not a file on disk
    // ("FILE_NOT_FOUND") or that another entry holds.
    AcmdEnum::Result execDo() override;
};

// change_link_source in process: the entry, the new source's path and the
// keep flag. True when it succeeded.
bool IcmdDoRetarget(boost::shared_ptr<IfileObjectEx> file, const std::string& target, bool keep);

// export_as_link: copies a project file to a place outside the project and
// points its entry there; the project keeps the file as a link.
//
//   export_as_link -file <project file> -path <new place>
//
// The new place keeps the file's extension (letter case aside) and may not
// hold a file already. Only a file of the project folder that belongs to no
// core and is of a kind a link can be made of is exported.
#pragma once

#include "icmd/files/IcmdChangeFileBase.h"

class IcmdPublishFile : public IcmdChangeFileBase {
public:
    IcmdPublishFile();

    std::string GetName() const override { return "export_as_link"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdPublishFile>(); }
    // 0 without a file or a path; 1 for a refused path, a file that cannot
    // be exported ("FILE_MUST_BE_LOCAL_AND_USER") or a copy that was
    // refused or failed.
    AcmdEnum::Result execDo() override;
};

// export_as_link in process: the entry, the new place and the keep flag.
// True when it succeeded.
bool IcmdDoPublishFile(boost::shared_ptr<IfileObjectEx> file, const std::string& target, bool keep);

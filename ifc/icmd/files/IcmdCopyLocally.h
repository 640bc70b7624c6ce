// unlink: copies a linked file into the project and points its entry at the
// copy.
//
//   unlink -file <project file> [-local <file name>]
//
// Without a name the copy goes to the file's own place in the project (the
// folder of its type); a place another file takes, in the project or on
// disk, gets a number: title_1.ext, title_2.ext and so on.
#pragma once

#include "icmd/files/IcmdChangeFileBase.h"

class IcmdCopyLocally : public IcmdChangeFileBase {
public:
    IcmdCopyLocally();

    std::string GetName() const override { return "unlink"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdCopyLocally>(); }
    // 0 without a file; 1 for a refused name or a failed copy.
    AcmdEnum::Result execDo() override;

    // Whether `name` may name the new place of `file`: the file's extension
    // (case ignored) when it has one, a valid path, and with `localOnly` a
    // bare name without folders. A refusal is asked ("INVALID_EXTENSION",
    // "INVALID_NAME_CHAR") with `parent` as the owner of the question.
    static bool IsValidTargetName(const std::string& name, void* parent, const IfileObject& file, bool localOnly);
    // The file's place in the project, numbered while the project (or, with
    // `checkDisk`, the disk) has a file there.
    static IfileObject GetDefaultLocalFile(const IfileObject& file, bool checkDisk);
};

// unlink in process: the entry, the name of its place in the project (empty
// for its own place) and the keep flag. True when it succeeded.
bool IcmdDoUnlink(boost::shared_ptr<IfileObjectEx> file, const std::string& target, bool keep);

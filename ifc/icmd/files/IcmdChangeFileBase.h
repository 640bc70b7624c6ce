// The base of the commands that change where the file of a project entry
// lives (unlink, change_link_source, export_as_link): they share the `file`
// argument (one entry of the project), a target that each names its own way,
// the copy of the file to its new place with the entry moved there
// (doChangeLink), and
// the model brought in line with the moved entry (updateModel). The entry
// keeps its identity: the file manager's own shared entry takes the new name,
// so every holder of it sees the change.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdTCLFileArg.h"

#include <foundation/AcmdParam.h>

#include <boost/shared_ptr.hpp>

#include <memory>
#include <string>

class IfileObject;
class IfileObjectEx;

class IcmdChangeFileBase : public IcmdBase {
public:
    IcmdChangeFileBase();
    ~IcmdChangeFileBase() override;

    void SetOriginalFile(boost::shared_ptr<IfileObjectEx> entry);
    void SetTarget(const std::string& target);

    // Marks the project as changed, replaces the old file by the entry in
    // every unit's lists, in the cached place-and-route descriptions and in
    // the core workspace, files the entry under its new name and announces
    // it as retargeted; with `reAdd` (the new file's text differs) the entry
    // is then parsed again in place, and stays the definition chosen for a
    // unit while its new text defines the unit. Always 0.
    virtual AcmdEnum::Result updateModel(const IfileObjectEx& oldEntry, boost::shared_ptr<IfileObjectEx> entry,
                                         bool reAdd);
    // Copies the entry's file to the target and moves the entry there. A
    // target that already exists on disk as another file is refused, and a
    // file is never copied onto itself. 1 when the copy was refused or
    // failed; the entry and the model are then unchanged.
    virtual AcmdEnum::Result doChangeLink(boost::shared_ptr<IfileObjectEx> entry, const IfileObject& target);

protected:
    IcmdTCLFileArg m_file;
    std::unique_ptr<AcmdStringParam> m_target;  // made by each command
};

// The model brought in line with a project entry that took a new name in
// place (`oldEntry`: the entry as it was), as updateModel does without
// `reAdd`: the entry is filed under its new name and keeps its units and
// their data; nothing is parsed.
void IcmdFollowRenamedEntry(const IfileObjectEx& oldEntry, const boost::shared_ptr<IfileObjectEx>& entry);

// What the project commands, the host and the file manager see of the
// reader and writer of the project file: the version and HDL it read, the
// modules whose states carried a synthesis option, and the progress meter
// that each member file moves as it is added.
#pragma once

#include <deque>
#include <string>

class IfileObject;
class ImodelModule;

class IcmdReadWriteProject {
public:
    virtual ~IcmdReadWriteProject() = default;

    // The modules whose top-level state blocks reported a synthesis option.
    virtual std::deque<ImodelModule*>* GetModulesWithSynthOption() = 0;
    // The version read: the number before the first "." and the one after
    // it; both -1 while no version was read.
    virtual void GetProjVer(int& major, int& minor) = 0;
    // The version text as read ("8.4"); empty while none was read.
    virtual const std::string& GetProjVer() = 0;
    // Moves the meter once for that member file when it is still to count.
    virtual void StepOneFile(const IfileObject& file) = 0;
    // Moves the meter by the share of one member file.
    virtual void StepOneFile() = 0;
    // True for VHDL (also while the file named no HDL).
    virtual bool GetHdlType() = 0;

protected:
    IcmdReadWriteProject() = default;
    IcmdReadWriteProject(const IcmdReadWriteProject&) = delete;
    IcmdReadWriteProject& operator=(const IcmdReadWriteProject&) = delete;
};

// use_file: the file a flow step of a unit's view works on, among the files
// the step may use (only while IDE_SELECT_FLOW_FILE_FEATURE_ENABLED is 1).
//
//   use_file -file <path> -module <unit> -pallador_view <view>
//
// The steps downstream are examined again: a choice that no longer fits is
// dropped and the first usable file takes its place. (use_source_file,
// IcmdUseSourceFile.h, chooses the file that defines a unit.)
//
// IcmdUseFile also serves the flow (which files fit a choice, the default
// file of a step) and the removal of files (FileRemoved).
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdTCLFileArg.h"
#include "icmd/args/IcmdTCLModuleAndRevArg.h"

#include <foundation/AcmdParam.h>

#include <boost/shared_ptr.hpp>

#include <memory>
#include <string>
#include <vector>

class IfileObject;
class IfileObjectEx;
class ImodelModule;
class ImodelRevContextImpl;
class IprocessFileObject;

class IcmdUseFile : public IcmdBase {
public:
    using Entry = boost::shared_ptr<IfileObjectEx>;

    IcmdUseFile();
    ~IcmdUseFile() override;

    std::string GetName() const override { return "use_file"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdUseFile>(); }
    // Fails while users may not choose flow files, naming the option that
    // lets them, and without a unit (the arguments say why).
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;

    void SetFileObject(const IfileObject& file);
    // Nothing for an empty entry.
    void SetFileObject(Entry file);
    void SetModuleAndContext(ImodelModule* module, ImodelRevContextImpl* revision);
    // A file the project does not hold may then be chosen without the check
    // that the step may use it.
    void AllowAbsentFileSelection(bool allow) { m_allowAbsent = allow; }

    // The step's entry of its default file for the unit and revision (a new
    // entry when the project does not hold it); empty without a step or a
    // default file.
    static Entry GetDefaultFile(IprocessFileObject* node, ImodelModule* module, ImodelRevContextImpl* revision);
    // Whether the file fits the unit and view: a file not in the project
    // does; otherwise it must derive from the unit (IprocessIsRelatedFileOK).
    static bool IsRelatedFileOK(Entry file, const std::vector<IprocessFileObject*>& usableNodes, int revision,
                                ImodelModule* module, ImodelRevContextImpl* revisionContext);
    // Drops the revision's choice for the step when it no longer derives
    // from the choices upstream.
    static void DontUseFileIfCannotBeCanBeUsedInFlow(IprocessFileObject* node, ImodelModule* module,
                                                     ImodelRevContextImpl* revision);
    // A file left the project: every choice of it is dropped, and the first
    // usable file of its step takes its place.
    static void FileRemoved(Entry file);

private:
    static void FileRemoved(const Entry& file, ImodelModule* module, IprocessFileObject* node);
    void ExamineDownstream(IprocessFileObject* node, const Entry& file, ImodelModule* module,
                           ImodelRevContextImpl* revision);

    IcmdTCLFileArg m_file;
    IcmdTCLModuleAndRevArg m_view;
    bool m_allowAbsent = false;
};

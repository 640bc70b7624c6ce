// Choosing the file that stands for something when several could:
//
//   use_file -file <path> -module <unit> -pallador_view <view>
//     the file a flow step of the unit's view works on, among the files the
//     step may use (only while IDE_SELECT_FLOW_FILE_FEATURE_ENABLED is 1).
//     The steps downstream are examined again: a choice that no longer fits
//     is dropped and the first usable file takes its place.
//
//   use_source_file -file <path> -module <unit>
//     the project file that defines a unit that several files define: the
//     file is parsed again as the unit's definition and the file used so
//     far is marked as defining a unit already defined (error kind 2).
//
// IcmdUseFile also serves the flow (which files fit a choice, the default
// file of a step) and the removal of files (FileRemoved).
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/IcmdCommandFactory.h"
#include "icmd/IcmdTCLFileArg.h"
#include "icmd/IcmdTCLModuleAndRevArg.h"

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

class IcmdUseSourceFile : public IcmdBase {
public:
    IcmdUseSourceFile();
    ~IcmdUseSourceFile() override;

    std::string GetName() const override { return "use_source_file"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdUseSourceFile>(); }
    // Fails without a unit name or a file (no message), and for a file that
    // does not define the unit ("MODULE_NOT_DEFINED").
    AcmdEnum::Result execDo() override;

    void SetFileObject(const IfileObject& file);
    void SetFileObject(boost::shared_ptr<IfileObjectEx> file);
    void SetModuleName(const std::string& name);
    // Whether add_file updates the file manager, and whether the design's
    // libraries are saved and restored around the change.
    void SetBoolParams(bool updateFileManager, bool keepLibraries);

private:
    IcmdTCLFileArg m_file;
    AcmdStringParam m_module;
    bool m_updateFileManager = true;
    bool m_keepLibraries = true;
};

// use_source_file in process. True when it succeeded.
bool IcmdDoUseDefinition(bool keep, const IfileObject& file, const std::string& moduleName, bool updateFileManager,
                         bool keepLibraries);
bool IcmdDoUseDefinition(bool keep, boost::shared_ptr<IfileObjectEx> file, const std::string& moduleName,
                         bool updateFileManager, bool keepLibraries);

IcmdCommandFactory IcmdUseFileFactory();
IcmdCommandFactory IcmdUseSourceFileFactory();

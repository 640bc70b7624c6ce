// The member files of the project file ("FileManager" and the file-group
// lists of older versions) and the definitions used for modules ("UsedFile").
#include "src/icmd/project/IcmdReadWriteProjectImpl.h"

#include "icmd/args/IcmdComponentIDText.h"
#include "icmd/files/IcmdUseSourceFile.h"
#include "iconvert/Iconvert.h"
#include "iconvert/IconvertFunctions.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfilePredecessorObject.h"
#include "ifile/IfileProjectOpening.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "itool/ItoolVeyrun.h"
#include "src/icmd/project/IcmdOpenProjectQueue.h"
#include "src/icmd/project/IcmdProjectFileText.h"

#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>

#include <algorithm>
#include <utility>
#include <vector>

#include <zorpa/ZorpaModule.h>

namespace {

// The older file-group list read before those the parsed structure knows.
constexpr const char* kVhdlPackageFileList = "VHDLPackageFiles";

bool EndsWithNoCase(const std::string& text, const char* suffix)
{
    const std::string tail = suffix;
    return text.size() > tail.size() && ImodelIsSameStrNoCase(text.substr(text.size() - tail.size()), tail);
}

}  // namespace

std::deque<IfileObject>& IcmdFilesModifiedSinceLastOpen()
{
    static std::deque<IfileObject> files;
    return files;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_Files(double share)
{
    Imodel& model = Imodel::GetInstance();
    IfileManager* files = model.GetFileManager();
    if (Writing()) {
        StartGatheringUnitFacts();
        // A file whose values the line format cannot hold is left out; the
        // others are still saved.
        if (files) files->WriteFileList(Out());
        return true;
    }
    if (!FullRead()) return true;
    int count = 0;
    m_parser.GetFileListCount(count);
    if (count > 0) m_perFileShare = share / count;
    model.OpenWorkspace();
    // A workspace written before it kept the project's files relative to
    // the project names them in the folder the project was saved in: a copy
    // or a moved project takes its own files, as its DO files do.
    if (Ktwkspace::Workspace* workspace = model.GetCurrentWorkspace(); workspace && !m_savedIn.empty()) {
        std::string from = UtlResolveDots(m_savedIn.GetString());
        while (from.size() > 1 && from.back() == '/') from.pop_back();
        const std::string to = model.GetDesignManager()->GetProjectFolder().GetString();
        if (!UtlIsSameFileName(from, to) && !workspace->FollowMovedFolder(from, to))
            ImodelDisplayWORKSPACE_NOT_WRITTEN_MSG(workspace->GetFileName().c_str(), to.c_str());
    }
    if (model.ParseCxfOnOpen() && ItoolVeyrun::GetInstance()) {
        for (Iconvert* converter : m_converters) converter->ConvertWorkspace(m_parser);
        m_blockToCount = PeekList("FileManager");
        CurrentProjectReader() = this;
        {
            // The cores are read before the members: they ask the list for
            // the project's own files.
            const IfileMembersBeingRead members(m_parser, m_converters);
            model.CheckNewCores(zorpaFT_OMBRIX_CXF);
        }
        CurrentProjectReader() = nullptr;
        m_blockToCount = nullptr;
        m_filesToCount.clear();
    }
    bool found = false;
    // Each file added parses into the libraries: one save of the libraries
    // around all of them, so that each add only counts.
    model.SaveLibraries();
    if (files) ReadMemberFiles(found);
    ReadFileBlock(kVhdlPackageFileList, zorpaFT_HDL, found);
    for (const auto& [list, type] : m_parser.GetSections()) ReadFileBlock(list, type, found);
    ImodelRevisionManager* revisions = model.GetRevisionManager();
    if (!found && revisions && files) {
        std::vector<std::string> names;
        revisions->GetRevisionNames(&names);
        for (const std::string& name : names)
            files->RegisterPresentFiles(revisions->GetRevisionNumber(name), m_parser, m_converters);
    }
    // Into a design without other units, the first netlist read brought in
    // its unit, the project's order of files not being the order they came
    // in: the project names the unit it was saved with as its root, and
    // that unit's netlist brings it in their place, before the units take
    // what the project keeps for them.
    if (model.HasNetlistModules() && !m_activeRoot.empty()) {
        const VyIfaces::ComponentID root = IcmdReadComponentID(m_activeRoot);
        if (!ImodelFindModule(root)) IfileBringInNetlistUnitOf(root);
    }
    model.RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});
    if (!model.ParseCxfOnOpen()) model.CheckNewCores(zorpaFT_OMBRIX_CXF);
    return true;
}

void IcmdReadWriteProjectImpl::ReadMemberFiles(bool& found)
{
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    // The stamps the file stored tell which files changed on disk since.
    found = PeekList("FileManager") != nullptr;
    if (!found) return;
    Lines lines;
    // The units whose definition the user chose: the add-file command does
    // not report them as defined twice, the choice is restored afterwards.
    std::vector<std::string> chosenUnits;
    if (TakeList(lines, "UsedFile", false)) {
        for (const std::string& line : lines) {
            std::string name;
            std::string module;
            if (IcmdSplitAtLastComma(line, name, module) && !module.empty()) chosenUnits.push_back(module);
        }
    }
    files.AddFilesToModel(
        m_parser, m_converters, &chosenUnits, [this] { StepOneFile(); }, true, m_fileListFlag,
        &IcmdFilesModifiedSinceLastOpen());
    // Nothing reads the block after this step.
    TakeList(lines, "FileManager", true);
}

void IcmdReadWriteProjectImpl::ReadFileBlock(const std::string& list, int defaultType, bool found)
{
    if (!IconvertOldFileGroupNeedsImport(m_converters, list, defaultType, m_parser)) return;
    Lines lines;
    // With the block of the file manager present, the older list is dropped after the copy.
    if (!TakeList(lines, list.c_str(), found)) return;
    const std::string folder = Imodel::GetInstance().GetDesignManager()->GetProjectFolder().GetString();
    for (const std::string& line : lines) {
        if (line.empty() || !IcmdIsStorableValue(line)) continue;
        std::string name = folder + SysGetDirChar() + line;
        ImodelSetValidSeparator(name, false);
        zorpaFileManagerTypes type = IfileObject::GetSafeFileType(defaultType, name);
        if (type == zorpaFT_SCH && EndsWithNoCase(name, ".edn")) type = zorpaFT_VIEWDRAW_EDN;
        if (type == zorpaFT_BTIM) {
            const std::size_t dot = name.rfind('.');
            if (dot != std::string::npos && dot + 1 < name.size() && (name[dot + 1] == 'v' || name[dot + 1] == 'V'))
                type = zorpaFT_TB_HDL;
        }
        m_parser.AddFilePresent(name, type, false, m_converters, false);
        if (!found) StepOneFile();
    }
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_UsedFileLists(double)
{
    IfileManager* files = Imodel::GetInstance().GetFileManager();
    if (Writing()) {
        m_out << "LIST UsedFile\n";
        if (files) {
            const IfileManager::ErrorGroupRange groups = files->GetErrorFileGroups();
            for (auto group = groups.first; group != groups.second; ++group) {
                if (!group->second || !IcmdIsStorableValue(group->first)) continue;
                for (const IfileErrorFile& member : *group->second) {
                    const IfileManager::Entry file = member.file.lock();
                    if (!file || file->GetErrorFileType() != ImodelNoError) continue;
                    const std::string& name = file->GetInternalFileName().GetString();
                    if (IcmdIsStorableValue(name)) m_out << "VALUE \"" << name << "," << group->first << "\"\n";
                }
            }
        }
        m_out << "ENDLIST\n";
        return true;
    }
    if (!FullRead()) return true;
    Lines lines;
    if (!TakeList(lines, "UsedFile", true)) return true;
    for (const std::string& line : lines) {
        std::string name;
        std::string module;
        if (IcmdSplitAtLastComma(line, name, module) && !name.empty() && !module.empty())
            RestoreUsedDefinition(name, module);
    }
    return true;
}

void IcmdReadWriteProjectImpl::RestoreUsedDefinition(const std::string& fileName, const std::string& module)
{
    // use_source_file parses the file again as the unit's definition.
    const IfileObject file(ImodelFileName(fileName), zorpaFT_HDL, ImodelFMInternal, true, false);
    // Named in another case of its letters than the member: the project
    // file listed both names and the one on disk was kept.
    IfileManager* files = Imodel::GetInstance().GetFileManager();
    if (files && !files->ContainsFile(file)) {
        const std::string full = file.GetFullFileName().GetString();
        if (IfileManager::Entry member =
                files->GetFileFor(IfileObject::IsSameFileName(full.c_str(), ImodelFMFull), 0)) {
            IcmdDoUseDefinition(false, std::move(member), module, true, true);
            return;
        }
    }
    IcmdDoUseDefinition(false, file, module, true, true);
}

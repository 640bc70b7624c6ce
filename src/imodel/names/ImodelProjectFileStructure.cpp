#include "imodel/names/ImodelProjectFileStructure.h"

#include "iconvert/Iconvert.h"
#include "iconvert/IconvertFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObject.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfileProjectOpening.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelCommandServices.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "src/imodel/names/imodelUtlProject.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <climits>
#include <iterator>

namespace {

// The file-list sections of older project files, in reading order, with the
// type their files get by default.
const ImodelProjectFileStructure::Section kSections[] = {
    {"PackageFiles", zorpaFT_HDL},
    {"BlockSymbols", zorpaFT_SYM},
    {"Schematics", zorpaFT_SCH},
    {"HDLFiles", zorpaFT_HDL},
    {"GENFiles", zorpaFT_GROUP_OMBRIX},
    {"SynthesisFiles", zorpaFT_GROUP_SYNTHESIS},
    {"PhySynthesisFiles", zorpaFT_GROUP_PHY_SYNTHESIS},
    {"StimulusFiles", zorpaFT_BTIM},
    {"ConstraintFiles", zorpaFT_GROUP_CONSTRAINT},
};

bool StartsWith(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }

// The name after the last directory character (all of it without one).
ImodelFileName TitleOf(const ImodelFileName& name)
{
    const std::size_t separator = name.GetString().rfind(SysGetDirChar());
    return separator == std::string::npos ? name : ImodelFileName(name.GetString().substr(separator + 1));
}

}  // namespace

ImodelProjectFileStructure::ImodelProjectFileStructure()
    : m_sections(std::begin(kSections), std::end(kSections)), m_parsed(KemletFileGetNewStructure())
{
}

ImodelProjectFileStructure::~ImodelProjectFileStructure() = default;

bool ImodelProjectFileStructure::Read(const char* fileName, const std::string& stop)
{
    return m_parsed->Read(fileName, stop);
}

void ImodelProjectFileStructure::Parse(const char* source, const std::string& text, const std::string& stop)
{
    m_parsed->Parse(source, text, stop);
}

std::unique_ptr<ImodelFileObject_KEY> ImodelProjectFileStructure::GetKEY(const char* name, bool take)
{
    return m_parsed->GetKEY(name, take);
}

std::unique_ptr<ImodelFileObject_LIST> ImodelProjectFileStructure::GetLIST(const char* name, bool take)
{
    return m_parsed->GetLIST(name, take);
}

const ImodelFileObject_LIST* ImodelProjectFileStructure::PeekLIST(const char* name) const
{
    return m_parsed->PeekLIST(name);
}

const std::string& ImodelProjectFileStructure::Damage() const { return m_parsed->Damage(); }

bool ImodelProjectFileStructure::GetLIST(std::vector<std::string>& lines, const char* name, bool take)
{
    lines.clear();
    const std::unique_ptr<ImodelFileObject_LIST> list = GetLIST(name, take);
    if (!list) return false;
    // The block object is ours either way: its lines can move.
    lines = std::move(list->GetLines());
    return true;
}

bool ImodelProjectFileStructure::EatCurrentLIST(std::vector<std::string>& lines)
{
    std::size_t depth = 1;
    std::size_t eaten = 0;
    while (depth > 0 && eaten < lines.size()) {
        const std::string& line = lines[eaten++];
        if (StartsWith(line, "ENDLIST")) {
            --depth;
        } else if (StartsWith(line, "LIST ")) {
            ++depth;
        }
    }
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(eaten));
    return true;
}

void ImodelProjectFileStructure::GetFileListCount(int& count)
{
    count = 0;
    IfileManager* files = Imodel::GetInstance().GetFileManager();
    if (files && files->ReadFileList(*this, count)) return;
    std::size_t lines = 0;
    for (const Section& section : m_sections) {
        if (const ImodelFileObject_LIST* list = PeekLIST(section.first.c_str())) lines += list->GetLineCount();
    }
    count = static_cast<int>(std::min<std::size_t>(lines, INT_MAX));
}

bool ImodelProjectFileStructure::AddFilePresent(const ImodelFileName& name, zorpaFileManagerTypes type, bool noUpdate,
                                                const std::vector<Iconvert*>& converters, bool known)
{
    IfileObject file(name, type, ImodelFMFull, true, true);
    for (Iconvert* converter : converters) converter->ConvertObjectFromProjectFile(file);
    if (!ImodelDoesFileExist(file.GetFullFileName())) {
        const std::string old = file.GetFullFileName().GetString();
        const std::string onDisk = m_caseOnDisk.Find(old);
        if (onDisk.empty()) {
            AddFileToDelete(file.GetFullFileName(), type);
            return false;
        }
        file.SetFileName(ImodelFileName(onDisk), ImodelFMFull, true);
        ImodelDisplayFILE_RENAMED_IN_CASE_MSG(old.c_str(), onDisk.c_str());
        IfileRenamesInCase::Add(file);
    }
    const ImodelFileName fullName = file.GetFullFileName();
    if (known) {
        // A file of another view: registered, not parsed.
        if (IfileManager* files = Imodel::GetInstance().GetFileManager())
            files->AddOrUpdateFile(IfileObjectEx(file, true), true);
    } else if (IconvertOldFileManagerFileNeedsImport(converters, fullName, type)) {
        if (ImodelCommandServices* commands = ImodelCommandServices::Get())
            commands->AddFileToModel(IfileObjectEx(file, true), !noUpdate, !noUpdate, false, nullptr, nullptr, true,
                                     nullptr, true, false, nullptr);
    }
    FileList& read = ImodelGetGlobalType(type) == zorpaFT_GROUP_PALLADOR ? m_palladorFilesRead : m_filesRead;
    read.emplace_back(TitleOf(fullName), type);
    return true;
}

void ImodelProjectFileStructure::AddFileToDelete(const ImodelFileName& name, zorpaFileManagerTypes type)
{
    if (m_filesToDeleteKeys.insert(ImodelFileNameKey(name.GetString())).second)
        m_filesToDelete.emplace_back(name, type);
}

void ImodelProjectFileStructure::DeleteFiles()
{
    ImodelRevisionManager* revisions = Imodel::GetInstance().GetRevisionManager();
    for (const auto& [name, type] : m_filesToDelete) {
        // A copy saved without some of its files misses them by intent.
        if (!IfileSkipFileDoesNotExistMessage()) ImodelDisplayOLD_FILE_NOT_FOUND_MSG(name.c_str());
        const IfileObject file(name, type, ImodelFMFull, true, true);
        // A file of another view leaves while its view is the current one.
        const int view = file.GetRevNum();
        const bool otherView = revisions && view != -1 && !file.IsInCurRev();
        const std::string current = otherView ? revisions->GetCurrentRevisionName() : std::string();
        if (otherView) revisions->SetActiveView(revisions->GetRevisionNameByNumber(view), false, false);
        if (ImodelCommandServices* commands = ImodelCommandServices::Get())
            commands->DeleteFileFromModel(file, true, true, false, nullptr);
        if (otherView) revisions->SetActiveView(current, false, false);
    }
    m_filesToDelete.clear();
    m_filesToDeleteKeys.clear();
}

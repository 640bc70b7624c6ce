// The base of the converters: neutral answers, the file moves with their
// record and the renaming of moved files, the skipped files.
#include "iconvert/Iconvert.h"

#include "iconvert/IconvertFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/imodelUtl.h"
#include "src/iconvert/IconvertMessages.h"

#include <foundation/Sys.h>

#include <algorithm>

Iconvert::Iconvert(int timerRatio) : m_timerRatio(timerRatio) {}

Iconvert::~Iconvert() = default;

bool Iconvert::FileNeedsImport(const ImodelFileName&, int) { return true; }

bool Iconvert::FileNeedsImport(const std::string&) { return true; }

bool Iconvert::OldFileGroupNeedsImport(const std::string&, int, ImodelProjectFileStructure&) { return true; }

void Iconvert::FoundNewProjectFile(ImodelFileName&, std::string&) {}

bool Iconvert::IsOldStrType(const std::string&, zorpaFileManagerTypes&) { return false; }

void Iconvert::ConvertObjectFromProjectFile(IfileObject& file)
{
    const auto moved = m_movedIndex.find(SameFileKey(file));
    if (moved == m_movedIndex.end()) return;
    file.SetFileName(m_movedFiles[moved->second].newFile.GetInternalFileName(), ImodelFMInternal, true);
}

bool Iconvert::NeedConvertTempFolder() const { return false; }

bool Iconvert::PreOpenConvert() { return true; }

bool Iconvert::PostOpenConvert() { return true; }

void Iconvert::SetTimerInfo(unsigned int start, unsigned int end, MeterCallback callback)
{
    m_start = start;
    m_end = end;
    m_meter = callback;
}

int Iconvert::GetTimerRatio() const { return m_timerRatio; }

void Iconvert::ConvertWorkspace(ImodelProjectFileStructure&) {}

std::string Iconvert::SameFileKey(const IfileObject& file)
{
    return ImodelFileNameKey(file.GetFullFileName().GetString(), std::string());
}

IfileObject Iconvert::GetFile(const IfileObject& file, const ImodelFileName& folder, int& n)
{
    std::string name = folder.GetString() + SysGetDirChar() + file.GetFileTitleNoExt();
    if (n != 0) name += "_" + std::to_string(n);
    name += "." + file.GetExt();
    ++n;
    return IfileObject(ImodelFileName(name), file.GetFileSpecificType(), ImodelFMFull, true, true);
}

IfileObject Iconvert::GetNextAvailableFile(const IfileObject& file, const ImodelFileName& folder)
{
    int n = 0;
    for (;;) {
        IfileObject candidate = GetFile(file, folder, n);
        if (!UtlDoesDiskObjectExist(candidate.GetFullFileName())) return candidate;
    }
}

void Iconvert::GetFolder(std::deque<IfileObjectEx>& out, const ImodelFileName& folder, zorpaFileManagerTypes type,
                         const char* extension)
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    if (!host) return;
    const ImodelFileName pattern(folder.GetString() + SysGetDirChar() + "*." + (extension ? extension : ""));
    // Only files move: a folder whose name ends like one stays where it is.
    host->ListFolder(pattern, 0, type, out, nullptr, false);
}

void Iconvert::Meter(unsigned int position) const
{
    if (m_meter) m_meter(position);
}

void Iconvert::MoveFile(const IfileObject& file, const ImodelFileName& toFolder, const std::string& label,
                        unsigned int position, float step)
{
    const IfileObject target = GetNextAvailableFile(file, toFolder);
    const std::string from = file.GetFullFileName();
    const std::string to = target.GetFullFileName();
    // A rename keeps the file's time stamp (between file systems it is a
    // copy, then the removal of the old file); the target is a free name.
    if (UtlValidateOrCreateFolder(toFolder) && SysRename(from, to) == 0) {
        IconvertDisplayMOVED_MSG(label.c_str(), from.c_str(), to.c_str());
        m_movedIndex.emplace(SameFileKey(file), m_movedFiles.size());
        m_movedFiles.push_back({file, target, true});
    } else {
        IconvertDisplayFAILED_TO_MOVE_MSG(from.c_str(), to.c_str());
        m_movedFiles.push_back({file, file, false});
    }
    const float next = static_cast<float>(position) + step;
    if (m_meter && step > 0 && next < static_cast<float>(m_end)) m_meter(static_cast<unsigned int>(next));
}

bool Iconvert::MoveAllFiles(const ImodelFileName& fromFolder, const ImodelFileName& toFolder, const std::string& label,
                            zorpaFileManagerTypes type, unsigned int start, unsigned int end,
                            const std::string& extension)
{
    std::deque<IfileObjectEx> files;
    GetFolder(files, fromFolder, type, extension.c_str());
    Meter(start);
    if (files.empty()) return true;
    const float step = end > start ? static_cast<float>((end - start) / files.size()) : 0.0f;
    for (std::size_t i = 0; i < files.size(); ++i)
        MoveFile(files[i], toFolder, label, start + static_cast<unsigned int>(static_cast<float>(i) * step), step);
    Meter(end);
    return true;
}

void Iconvert::AddSkippedFile(const IfileObject& file)
{
    if (m_skippedKeys.insert(SameFileKey(file)).second) m_skippedFiles.push_back(file);
}

void Iconvert::AddSkippedFiles(const std::deque<IfileObject>& files)
{
    for (const IfileObject& file : files) AddSkippedFile(file);
}

bool IconvertOldFileManagerFileNeedsImport(const std::vector<Iconvert*>& converters, const ImodelFileName& name,
                                           int type)
{
    return std::all_of(converters.begin(), converters.end(),
                       [&](Iconvert* converter) { return converter->FileNeedsImport(name, type); });
}

bool IconvertOldFileGroupNeedsImport(const std::vector<Iconvert*>& converters, const std::string& group, int type,
                                     ImodelProjectFileStructure& project)
{
    return std::all_of(converters.begin(), converters.end(),
                       [&](Iconvert* converter) { return converter->OldFileGroupNeedsImport(group, type, project); });
}

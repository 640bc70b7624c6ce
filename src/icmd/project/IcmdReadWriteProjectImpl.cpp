// The step table of the project file and the sections that are the
// project's own: version, HDL, device, folder, root, views, libraries,
// editor files, and the meter that moves while the table runs.
#include "src/icmd/project/IcmdReadWriteProjectImpl.h"

#include "icmd/args/IcmdComponentIDText.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfileProjectOpening.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/options/ImodelPhySynthesisDefaults.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "iprofile/IprofileManager.h"
#include "src/icmd/project/IcmdProjectFileText.h"

#include <foundation/Arev.h>
#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace {

// The compile options of a library by keyword; any other text reads as COMPILE.
constexpr const char* kCompileOptionKeywords[] = {"NOCOMPILE", "REFRESH", "COMPILE", "RECOMPILE",
                                                  "REFRESH_AND_COMPILE"};

const char* CompileOptionKeyword(zorpaCompileOption option)
{
    const int index = static_cast<int>(option);
    return index >= 0 && index < 5 ? kCompileOptionKeywords[index] : "COMPILE";
}

zorpaCompileOption CompileOptionOf(const std::string& keyword)
{
    for (int i = 0; i < 5; ++i)
        if (keyword == kCompileOptionKeywords[i]) return static_cast<zorpaCompileOption>(i);
    return ZORPA_COMPILE;
}

// What a write reserves at most before it has written anything.
constexpr std::size_t kMaxReserve = std::size_t{256} << 20;

const char* HdlKeyword(bool vhdl) { return vhdl ? "VHDL" : "VERILOG"; }

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

// Whether a line of the text starts a key or a block, the two forms the
// parsed file is made of.
bool HoldsProjectLines(const std::string& text)
{
    for (std::size_t line = 0; line < text.size();) {
        if (text.compare(line, 4, "KEY ") == 0 || text.compare(line, 5, "LIST ") == 0) return true;
        const std::size_t next = text.find('\n', line);
        if (next == std::string::npos) break;
        line = next + 1;
    }
    return false;
}

// Whether every byte is printable, a tab or a line end. The text is looked
// at 16 bytes at a time: a project file of many views or files is megabytes
// long.
bool IsText(std::string_view text)
{
    const auto control = [](unsigned char byte) { return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r'; };
    using Bytes = unsigned char __attribute__((vector_size(16)));
    using Flags = signed char __attribute__((vector_size(16)));
    std::size_t at = 0;
    for (; at + sizeof(Bytes) <= text.size(); at += sizeof(Bytes)) {
        Bytes bytes;
        std::memcpy(&bytes, text.data() + at, sizeof bytes);
        const Flags bad = (bytes < 0x20) & (bytes != '\t') & (bytes != '\n') & (bytes != '\r');
        std::uint64_t halves[2];
        std::memcpy(halves, &bad, sizeof halves);
        if ((halves[0] | halves[1]) != 0) return false;
    }
    for (; at < text.size(); ++at)
        if (control(static_cast<unsigned char>(text[at]))) return false;
    return true;
}

IprofileManager* ProfileManager()
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    return host ? host->GetProfileManager() : nullptr;
}

}  // namespace

IcmdReadWriteProjectImpl::IcmdReadWriteProjectImpl(ideProjectFileWhatToDo mode, std::fstream* stream,
                                                   const std::vector<Iconvert*>& converters, Meter meter,
                                                   bool fileListFlag)
    : m_mode(mode), m_stream(stream), m_converters(converters), m_meter(meter), m_fileListFlag(fileListFlag)
{
    m_caption = mode == ideProjectFileHeader ? "Getting project file information"
                : mode == ideProjectFileRead ? "Reading project file"
                                             : "Writting project file";
    using Self = IcmdReadWriteProjectImpl;
    m_steps = {
        {&Self::ProjectFileObject_InitFileMember, 3},
        {&Self::ProjectFileObject_ProjectVersion, 0},
        {&Self::ProjectFileObject_DefaultImportLoc, 0},
        {&Self::ProjectFileObject_HDLType, 0},
        {&Self::ProjectFileObject_Device, 1},
        {&Self::ProjectFileObject_SavedIn, 0},
        {&Self::ProjectFileObject_Step1, 3},
        {&Self::ProjectFileObject_ActiveRoot, 0},
        {&Self::ProjectFileObject_Revisions, 5},
        {&Self::ProjectFileObject_Libraries, 0},
        {&Self::ProjectFileObject_Files, 0},
        {&Self::ProjectFileObject_UsedFileLists, 0},
        {&Self::ProjectFileObject_NewModuleInfo, 0},
        {&Self::ProjectFileObject_Blocks, 0},
        {&Self::ProjectFileObject_StimulusAssociation, 0},
        {&Self::ProjectFileObject_Other_Association, 0},
        {&Self::ProjectFileObject_Step2, 0},
        {&Self::ProjectFileObject_SimulationOptions, 0},
        {&Self::ProjectFileObject_ModelSimPathOptions, 0},
        {&Self::ProjectFileObject_GlobalFlowOptions, 0},
        {&Self::ProjectFileObject_StimulusOptions, 0},
        {&Self::ProjectFileObject_SynthesisOptions, 0},
        {&Self::ProjectFileObject_PhySynthesisOptions, 0},
        {&Self::ProjectFileObject_Profiles, 0},
        {&Self::ProjectFileObject_State, 0},
        {&Self::ProjectFileObject_Step3, 0},
        {&Self::ProjectFileObject_ModuleInfo, 0},
        {&Self::ProjectFileObject_RecentFileLists, 0},
        {&Self::ProjectFileObject_CustomizedSourceFilesList, 0},
        {&Self::ProjectFileObject_OpenedFiles, 0},
        {&Self::ProjectFileObject_End, 0},
    };
}

IcmdReadWriteProjectImpl::~IcmdReadWriteProjectImpl()
{
    // A save that failed before it asked for the units' facts.
    if (m_unitFactsThread.joinable()) m_unitFactsThread.join();
}

IcmdReadWriteProject*& IcmdReadWriteProjectImpl::CurrentProjectReader()
{
    static IcmdReadWriteProject* reader = nullptr;
    return reader;
}

// --- running the table ------------------------------------------------------------------------------

AcmdEnum::Result IcmdReadWriteProjectImpl::Do(unsigned int start, unsigned int end)
{
    if (!m_stream) return AcmdEnum::Failure;
    // A text refused before this save is no reason of its failure.
    if (Writing()) ImodelTakeRefusedText();
    m_position = start;
    // The members a read finds renamed on disk in letter case are its own.
    const IfileRenamesInCase renamed;
    const double range = (static_cast<double>(end) - static_cast<double>(start)) * 0.01;
    DoUpdateMeter(start);
    AcmdEnum::Result result = AcmdEnum::Success;
    for (const StepEntry& entry : m_steps) {
        DoUpdateMeter(static_cast<unsigned int>(m_position));
        m_currentStep = entry.step;
        const double share = entry.weight * range;
        const double before = m_position;
        bool ok = (this->*entry.step)(share);
        // Whatever the per-file steps added, the step ends where it was due.
        m_position = before + share;
        if (ok && !m_damage.empty()) ok = Damaged(m_damage);
        if (!ok) {
            result = AcmdEnum::Failure;
            break;
        }
    }
    m_currentStep = nullptr;
    if (result == AcmdEnum::Success) {
        DoUpdateMeter(static_cast<unsigned int>(m_position));
        if (m_mode == ideProjectFileHeader && m_stream->is_open()) m_stream->close();
        // Every member file read is brought up to date once the whole file stands.
        if (FullRead()) {
            const IfileManagerFilterTestFile everyMember(&IfileObjectEx::IsFileInProject);
            Imodel::GetInstance().GetFileManager()->UpdateFiles(everyMember);
        }
    }
    DoUpdateMeter(end);
    return result;
}

void IcmdReadWriteProjectImpl::DoUpdateMeter(unsigned int value)
{
    if (m_meter) m_meter(value);
    if (value < m_lastMeterValue && Imodel::GetInstance().IsDebugMsg())
        SysDebugPrintf("ERROR: DoUpdateMeter decremented....\n");
    m_lastMeterValue = value;
}

void IcmdReadWriteProjectImpl::UpdateTimingInfo()
{
    double sum = 0;
    StepEntry* files = nullptr;
    for (StepEntry& entry : m_steps) {
        if (entry.step == &IcmdReadWriteProjectImpl::ProjectFileObject_Files) {
            files = &entry;
        } else {
            sum += entry.weight;
        }
    }
    if (files && sum < 100) files->weight = 100 - sum;
}

void IcmdReadWriteProjectImpl::StepOneFile()
{
    if (m_perFileShare <= 0 || m_position <= 0 || !m_meter) return;
    m_position += m_perFileShare;
    // A bar redrawn for every one of many thousand files would cost more
    // than the files: the meter hears only of a new value.
    const unsigned int value = static_cast<unsigned int>(m_position);
    if (value != m_lastMeterValue) DoUpdateMeter(value);
}

void IcmdReadWriteProjectImpl::StepOneFile(const IfileObject& file)
{
    if (m_blockToCount) {
        std::deque<IfileObjectEx> members;
        IfileReadFileList(m_blockToCount->GetLines(), members, {}, true);
        m_blockToCount = nullptr;
        for (const IfileObjectEx& member : members)
            m_filesToCount.insert(ImodelFileNameKey(member.GetInternalFileName().GetString()));
    }
    // A file counts once.
    if (m_filesToCount.erase(ImodelFileNameKey(file.GetInternalFileName().GetString())) != 0) StepOneFile();
}

void IcmdReadWriteProjectImpl::GetProjVer(int& major, int& minor)
{
    major = -1;
    minor = -1;
    if (m_version.empty()) return;
    const std::size_t dot = m_version.find('.');
    major = IcmdLeadingNumber(m_version.substr(0, dot));
    minor = dot == std::string::npos ? 0 : IcmdLeadingNumber(m_version.substr(dot + 1));
}

int IcmdReadWriteProjectImpl::GetStateFromID(int id, int position)
{
    if (position < 0 || position > 9) return 0;
    long long power = 1;
    for (int i = 0; i < position; ++i) power *= 10;
    if (id < power) return 0;
    return static_cast<int>((id / power) % 10);
}

bool IcmdReadWriteProjectImpl::Damaged(const std::string& what)
{
    ImodelDisplayPROJECT_FILE_DAMAGED_MSG(m_projectFileName.c_str(), what.c_str());
    return false;
}

void IcmdReadWriteProjectImpl::RestoreOpenedFiles()
{
    if (ImodelHost* host = Imodel::GetInstance().GetHost()) host->ReopenFiles(m_openedFileLines);
}

// --- line forms -------------------------------------------------------------------------------------

void IcmdReadWriteProjectImpl::WriteKey(const char* key, const std::string& value)
{
    // A value that would break its line (a folder named with a line break)
    // fails the save rather than the next open.
    if (ImodelCheckOneLine(m_out, value, key)) m_out << "KEY " << key << " \"" << value << "\"\n";
}

void IcmdReadWriteProjectImpl::WriteNameValue(const std::string& name, const std::string& value)
{
    if (ImodelCheckOneLine(m_out, value, name.c_str())) m_out << name << "=" << value << "\n";
}

bool IcmdReadWriteProjectImpl::TakeList(Lines& lines, const char* name, bool take)
{
    lines.clear();
    const std::unique_ptr<ImodelFileObject_LIST> list = GetBlock(name, take);
    if (!list) return false;
    lines = std::move(list->GetLines());
    return true;
}

std::unique_ptr<ImodelFileObject_LIST> IcmdReadWriteProjectImpl::GetBlock(const char* name, bool take)
{
    std::unique_ptr<ImodelFileObject_LIST> list = m_parser.GetLIST(name, take);
    if (list && !list->IsTerminated() && m_damage.empty())
        m_damage = std::string("the list '") + name + "' has no ENDLIST";
    return list;
}

const ImodelFileObject_LIST* IcmdReadWriteProjectImpl::PeekList(const char* name)
{
    const ImodelFileObject_LIST* list = m_parser.PeekLIST(name);
    if (list && !list->IsTerminated() && m_damage.empty())
        m_damage = std::string("the list '") + name + "' has no ENDLIST";
    return list;
}

std::string IcmdReadWriteProjectImpl::GetKey(const char* key, bool& found)
{
    const std::unique_ptr<ImodelFileObject_KEY> item = m_parser.GetKEY(key, true);
    found = item != nullptr;
    return item ? item->GetValue() : std::string();
}

// --- the steps ----------------------------------------------------------------------------------------

bool IcmdReadWriteProjectImpl::ProjectFileObject_InitFileMember(double)
{
    ImodelDesignManager& design = Design();
    if (design.GetProjectFolder().empty() || design.GetProjectName().empty()) return false;
    m_projectFileName = design.GetProjectFileName();
    if (Writing()) {
        // The file is replaced whole at the end; until then it stays as it is.
        if (m_stream->is_open()) m_stream->close();
        // Room for a file the size of the one it replaces, and some growth.
        m_text.Text().clear();
        SysStatInfo stored;
        if (SysPathStat(m_projectFileName.GetString(), &stored) == 0 && stored.size > 0)
            m_text.Text().reserve(std::min<std::size_t>(static_cast<std::size_t>(stored.size) / 8 * 9, kMaxReserve));
        m_defaultUseSynplifySDC = ImodelDefaultUseSynplifySDC();
        return true;
    }
    if (!UtlDoesFileExist(m_projectFileName.GetString())) {
        ImodelDisplayPROJECT_NOT_FOUND_MSG(design.GetProjectName().c_str());
        return false;
    }
    std::string text;
    if (!SysReadFile(m_projectFileName.GetString(), text)) {
        ImodelDisplayUNABLE_TO_READ_MSG(m_projectFileName.c_str());
        return false;
    }
    IcmdDropEndOfFileMark(text);
    // An editor saving as UTF-8 may put a byte-order mark first: the first
    // key, the version, would not read as a key.
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    // A project file is text: other bytes mean it is something else, or damaged.
    if (!IsText(text)) return Damaged("it holds bytes that are not text");
    // Nothing of a project (an empty file): opening it would save an empty
    // project over it. A file without a version that holds a project is
    // older than every release and is converted.
    if (!HoldsProjectLines(text)) {
        ImodelDisplayPROJECT_FILE_EMPTY_MSG(m_projectFileName.c_str());
        return false;
    }
    // A copy cut off midway: its last line would read as a value cut too
    // (a die "z") or not at all, and the save that follows the open would
    // make that the project.
    if (const std::string cut = IcmdWhereCutShort(text); !cut.empty()) {
        ImodelDisplayPROJECT_FILE_CUT_SHORT_MSG(m_projectFileName.c_str(), cut.c_str());
        return false;
    }
    const std::string stop = m_mode == ideProjectFileHeader && !m_parseWhole ? "KEY HDLTechnology " : "";
    m_parser.Parse(m_projectFileName.c_str(), text, stop);
    // Opened as it reads, such a file would lose the blocks that its broken
    // list hides, and the save that follows would lose them for good.
    if (!m_parser.Damage().empty()) return Damaged(m_parser.Damage());
    if (FullRead() && m_meter) UpdateTimingInfo();
    if (m_stream->is_open()) m_stream->close();
    m_stream->open(m_projectFileName.GetString(), std::ios::in);
    if (!m_stream->is_open()) {
        ImodelDisplayUNABLE_TO_READ_MSG(m_projectFileName.c_str());
        return false;
    }
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_ProjectVersion(double)
{
    if (Reading()) {
        bool found = false;
        const std::string version = GetKey("SOLVATO", found);
        if (found) m_version = version;
        return true;
    }
    int major = 0;
    int minor = 0;
    ImodelGetIdeMinorMajor(minor, major);
    WriteKey("SOLVATO", std::to_string(major) + "." + std::to_string(minor));
    WriteKey("CAPTURE", ArevGetVerinfoSoftwareRevision());
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_DefaultImportLoc(double)
{
    static constexpr const char* kKeys[][2] = {{"DEFAULT_IMPORT_LOC", "IDE_DEFAULT_LOC_IMPORTFILE"},
                                               {"DEFAULT_OPEN_LOC", "IDE_DEFAULT_LOC_OPENFILE"}};
    for (const auto& [key, option] : kKeys) {
        if (FullRead()) {
            bool found = false;
            const std::string value = GetKey(key, found);
            if (found) DefSetFL(option, value.c_str(), __FILE__, __LINE__);
        } else if (Writing()) {
            std::string value;
            // An empty location names no folder.
            if (ImodelDefGetStr(option, value) && !value.empty() && IcmdIsStorableValue(value)) WriteKey(key, value);
        }
    }
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_HDLType(double)
{
    if (Reading()) {
        bool found = false;
        const std::string value = GetKey("HDLTechnology", found);
        if (found) {
            m_isVHDL = !ImodelIsSameStrNoCase(value, "VERILOG");
            m_hdlKeyFound = true;
            if (FullRead()) Design().SetDefaultVHDL(m_isVHDL);
        }
        return true;
    }
    WriteKey("HDLTechnology", HdlKeyword(Design().IsDefaultVHDL()));
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_Device(double)
{
    ImodelDeviceManager& devices = *Imodel::GetInstance().GetDeviceManager();
    if (FullRead()) {
        ImodelDevice device = devices.GetDevice();
        device.ReadFromProjectFile(m_parser, m_deviceChanged);
        // A family the catalogue does not know leaves the project without a
        // device: the user is told, not left to find the keys emptied.
        if (m_deviceChanged) ImodelDisplayVALUE_IGNORED_MSG("The device family of the project file");
        devices.SetDevice(device);
        DefSetFL("FAM", device.GetFamily().c_str(), __FILE__, __LINE__);
        DefSetFL("DIE", device.GetDieInternalName().c_str(), __FILE__, __LINE__);
        DefSetFL("PACKAGE", device.GetPackageInternalName().c_str(), __FILE__, __LINE__);
    } else if (Writing()) {
        devices.GetDevice().WriteToProjectFile(Out());
    }
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_SavedIn(double)
{
    if (FullRead()) {
        bool found = false;
        const ImodelFileName folder = GetKey("ProjectLocation", found);
        if (found && folder != Design().GetProjectFolder()) m_savedIn = folder;
    } else if (Writing()) {
        WriteKey("ProjectLocation", Design().GetProjectFolder().GetString());
    }
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_Step1(double)
{
    if (FullRead()) {
        Imodel::GetInstance().GetTempWorld();
    } else if (Writing()) {
        WriteKey("SimulationType", HdlKeyword(Design().IsDefaultVHDL()));
        WriteKey("Vendor", "Brennic");
    }
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_ActiveRoot(double)
{
    if (FullRead()) {
        bool found = false;
        const std::string root = GetKey("ActiveRoot", found);
        if (found) m_activeRoot = root;
    } else if (Writing()) {
        if (ImodelModule* root = Design().GetRootModule())
            WriteKey("ActiveRoot", IcmdWriteComponentID(root->GetComponentID()));
    }
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_Revisions(double)
{
    ImodelRevisionManager& revisions = *Imodel::GetInstance().GetRevisionManager();
    if (FullRead()) {
        // Read in place from the block's text: a project may have many
        // thousand views.
        if (const std::unique_ptr<ImodelFileObject_LIST> list = GetBlock("REVISIONS", true)) {
            revisions.ReadRevisions(list->GetLineViews());
        } else {
            revisions.CreateView(std::string(), ImodelFileName(), false, false);
        }
    } else if (Writing()) {
        revisions.WriteRevisions(Out());
    }
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_Libraries(double)
{
    ImodelDesignManager& design = Design();
    if (FullRead()) {
        Lines names;
        if (!TakeList(names, "LIBRARIES", true)) return true;
        for (const std::string& name : names) {
            if (name.empty()) continue;
            // A name the list could not hold back would break the file at
            // the next save: refused, as when a file names it.
            if (!IfileIsStorableLibraryName(name)) {
                IfileRefuseName(name, "library");
                continue;
            }
            const ImodelDesignManager::LibraryPtr library = design.AddLibrary(name, true);
            if (!library) continue;
            Lines lines;
            if (!TakeList(lines, ("LIBRARY_" + name).c_str(), true)) continue;
            for (const std::string& line : lines) {
                const std::size_t equal = line.find('=');
                if (equal == std::string::npos) continue;
                const std::string key = line.substr(0, equal);
                const std::string value = line.substr(equal + 1);
                if (key == "ALIAS") {
                    if (!value.empty()) library->SetPath(value);
                } else if (key == "COMPILE_OPTION") {
                    library->SetCompileOption(CompileOptionOf(value));
                }
            }
        }
        return true;
    }
    if (!Writing()) return true;
    // Written whenever a library other than "work" exists.
    std::vector<ImodelDesignManager::LibraryPtr> libraries;
    const auto range = design.GetLibraries();
    // A name the line format cannot hold is left out rather than breaking the file.
    for (auto it = range.first; it != range.second; ++it)
        if (*it && !ImodelIsSameStrNoCase((*it)->GetName(), "work") && IfileIsStorableLibraryName((*it)->GetName()))
            libraries.push_back(*it);
    if (libraries.empty()) return true;
    m_out << "LIST LIBRARIES\n";
    for (const auto& library : libraries) m_out << library->GetName() << "\n";
    m_out << "ENDLIST\n";
    for (const auto& library : libraries) {
        m_out << "LIST LIBRARY_" << library->GetName() << "\n";
        WriteNameValue("ALIAS", library->GetPath());
        WriteNameValue("COMPILE_OPTION", CompileOptionKeyword(library->GetCompileOption()));
        m_out << "ENDLIST\n";
    }
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_Blocks(double) { return true; }

bool IcmdReadWriteProjectImpl::ProjectFileObject_RecentFileLists(double) { return true; }

bool IcmdReadWriteProjectImpl::ProjectFileObject_Step2(double)
{
    if (FullRead())
        if (IprofileManager* profiles = ProfileManager()) profiles->BeginProjectRead();
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_Step3(double)
{
    if (!FullRead()) return true;
    Imodel& model = Imodel::GetInstance();
    if (!model.GetHost()) return true;
    if (!m_activeRoot.empty()) IcmdRestoreActiveRoot(m_activeRoot);
    model.GetStateMachine()->UpdateFileDependentStates();
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_OpenedFiles(double)
{
    if (FullRead()) {
        TakeList(m_openedFileLines, "OpenedFileList", true);
        return true;
    }
    if (!Writing()) return true;
    std::vector<std::string> hostFiles;
    const std::vector<std::string>* files = m_openedFilesToWrite;
    if (!files) {
        if (ImodelHost* host = Imodel::GetInstance().GetHost()) host->GetOpenedFiles(hostFiles);
        files = &hostFiles;
    }
    m_out << "LIST OpenedFileList\n";
    // A name the line format cannot hold is left out rather than breaking the file.
    for (const std::string& file : *files)
        if (!file.empty() && IcmdIsStorableValue(file)) m_out << file << "\n";
    m_out << "ENDLIST\n";
    return true;
}

bool IcmdReadWriteProjectImpl::ProjectFileObject_End(double)
{
    Imodel& model = Imodel::GetInstance();
    if (FullRead()) {
        if (ImodelHost* host = model.GetHost()) {
            ImodelSetAndRestoreModelFlagObject notReading(Imodel::GetIsReadingProject(), false);
            if (IprofileManager* profiles = host->GetProfileManager()) profiles->EndProjectRead();
            if (m_deviceChanged) {
                const ImodelDevice device = model.GetDeviceManager()->GetDevice();
                model.GetDeviceManager()->SetDevice(ImodelDevice());
                host->DeviceChanged(device, false);
            }
        }
    }
    if (m_mode == ideProjectFileHeader) return true;
    if (Writing()) {
        m_out.flush();
        if (!m_out) {
            // A writer refused a text that cannot stand on its line: that
            // is why nothing was saved, not the disk.
            m_writeError = ImodelTakeRefusedText();
            return false;
        }
        // A project that stands on disk as it would be written is left as it
        // is: an open saves at once, and a large project's file would be
        // replaced and synced to the disk with the same bytes.
        const std::string& path = m_projectFileName.GetString();
        if (!SysFileHolds(path, m_text.Text()) && !SysWriteFileAtomically(path, m_text.Text(), &m_writeError))
            return false;
    }
    if (m_stream->is_open()) m_stream->close();
    // The project file stays open for reading while the project is open.
    if (!m_projectFileName.empty()) m_stream->open(m_projectFileName.GetString(), std::ios::in);
    return true;
}

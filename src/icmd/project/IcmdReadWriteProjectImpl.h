// The reader and writer of the project file (".prj"): one table of section
// steps run in file order. Each step reads its section from the parsed file
// (modes 0, header, and 1, read) or writes it (mode 2). A write goes into
// memory and reaches the disk in one atomic replacement at the end, so a
// failed save never leaves a half file behind.
#pragma once

#include "icmd/project/IcmdReadWriteProject.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelProjectFileStructure.h"
#include "imodel/names/ImodelToolKinds.h"

#include <foundation/AcmdEnum.h>

#include <deque>
#include <exception>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

class Iconvert;
class IfileObjectEx;
class ImodelModule;
template <class T>
class ZorpaUnitSet;
class IprofileManagedProfile;

enum ideProjectFileWhatToDo {
    ideProjectFileHeader = 0,
    ideProjectFileRead = 1,
    ideProjectFileWrite = 2,
};

// The module lists of the older layout, one top-level list per kind.
enum ideModuleInfoType {
    ideExcludePackageForSynthesis = 0,
    ideExcludePackageForSimulation = 1,
    ideIncludeModuleForSimulation = 2,
    ideCDBOrder = 3,
};

class IcmdReadWriteProjectImpl : public IcmdReadWriteProject {
public:
    using Meter = void (*)(unsigned int);

    IcmdReadWriteProjectImpl(ideProjectFileWhatToDo mode, std::fstream* stream,
                             const std::vector<Iconvert*>& converters, Meter meter, bool fileListFlag);
    ~IcmdReadWriteProjectImpl() override;

    // Runs the steps, moving the meter from `start` to `end`; 0 when every
    // step succeeded, 1 for a null stream or a failing step.
    AcmdEnum::Result Do(unsigned int start, unsigned int end);
    // The header is read from a file parsed whole, so that damage anywhere
    // in it is found (and told) before the open changes anything on disk.
    void ParseWholeFile() { m_parseWhole = true; }

    std::deque<ImodelModule*>* GetModulesWithSynthOption() override { return &m_modulesWithSynthOption; }
    void GetProjVer(int& major, int& minor) override;
    const std::string& GetProjVer() override { return m_version; }
    void StepOneFile(const IfileObject& file) override;
    void StepOneFile() override;
    bool GetHdlType() override { return m_isVHDL; }

    // The list written as the files open in editors, in place of the host's.
    void SetOpenedFiles(std::vector<std::string>* files) { m_openedFilesToWrite = files; }
    // Hands the editor files read from the file to the host.
    virtual void RestoreOpenedFiles();

    // The folder the file says it was saved in, when that is another one.
    const ImodelFileName& GetSavedInFolder() const { return m_savedIn; }
    // Whether the file held per-module blocks.
    bool HasNewModuleInfo() const { return m_newModuleInfo; }
    // The opened-file lines read.
    const std::vector<std::string>& GetOpenedFileLines() const { return m_openedFileLines; }
    // Why the write could not replace the file (its name and the system's
    // reason); empty after a write that succeeded or failed before the disk.
    const std::string& GetWriteError() const { return m_writeError; }

    // 0 when `id` is below 10 to the power `position`, else that digit of it.
    static int GetStateFromID(int id, int position);
    // The reader running its new-core check, null at any other time.
    static IcmdReadWriteProject*& CurrentProjectReader();

private:
    using Step = bool (IcmdReadWriteProjectImpl::*)(double);
    struct StepEntry {
        Step step;
        double weight;
    };
    using Lines = std::vector<std::string>;
    using LineIterator = Lines::const_iterator;
    using FileList = std::deque<IfileObject>;
    using FileListOf = FileList& (*)(ImodelModule&);
    using FileListAsIs = const FileList& (*)(const ImodelModule&);

    bool Reading() const { return m_mode == ideProjectFileHeader || m_mode == ideProjectFileRead; }
    bool FullRead() const { return m_mode == ideProjectFileRead; }
    bool Writing() const { return m_mode == ideProjectFileWrite; }
    std::ostream* Out() { return &m_out; }
    void DoUpdateMeter(unsigned int value);
    void UpdateTimingInfo();
    // Reports a damaged file and answers false.
    bool Damaged(const std::string& what);
    // The lines of a top-level list (`take` as for the parser); false when
    // the file has none. A list the file ends inside of marks the file as
    // damaged, which fails the read after the step.
    bool TakeList(Lines& lines, const char* name, bool take);
    // The block itself, its damage noted.
    std::unique_ptr<ImodelFileObject_LIST> GetBlock(const char* name, bool take);
    // The same list left in place, without a copy of its lines; null when
    // the file has none.
    const ImodelFileObject_LIST* PeekList(const char* name);

    // Line writers.
    void WriteKey(const char* key, const std::string& value);
    void WriteNameValue(const std::string& name, const std::string& value);
    std::string GetKey(const char* key, bool& found);

    // --- the steps, in file order ---
    bool ProjectFileObject_InitFileMember(double share);
    bool ProjectFileObject_ProjectVersion(double share);
    bool ProjectFileObject_DefaultImportLoc(double share);
    bool ProjectFileObject_HDLType(double share);
    bool ProjectFileObject_Device(double share);
    bool ProjectFileObject_SavedIn(double share);
    bool ProjectFileObject_Step1(double share);
    bool ProjectFileObject_ActiveRoot(double share);
    bool ProjectFileObject_Revisions(double share);
    bool ProjectFileObject_Libraries(double share);
    bool ProjectFileObject_Files(double share);
    bool ProjectFileObject_UsedFileLists(double share);
    bool ProjectFileObject_NewModuleInfo(double share);
    bool ProjectFileObject_Blocks(double share);
    bool ProjectFileObject_StimulusAssociation(double share);
    bool ProjectFileObject_Other_Association(double share);
    bool ProjectFileObject_Step2(double share);
    bool ProjectFileObject_SimulationOptions(double share);
    bool ProjectFileObject_ModelSimPathOptions(double share);
    bool ProjectFileObject_GlobalFlowOptions(double share);
    bool ProjectFileObject_StimulusOptions(double share);
    bool ProjectFileObject_SynthesisOptions(double share);
    bool ProjectFileObject_PhySynthesisOptions(double share);
    bool ProjectFileObject_Profiles(double share);
    bool ProjectFileObject_State(double share);
    bool ProjectFileObject_Step3(double share);
    bool ProjectFileObject_ModuleInfo(double share);
    bool ProjectFileObject_RecentFileLists(double share);
    bool ProjectFileObject_CustomizedSourceFilesList(double share);
    bool ProjectFileObject_OpenedFiles(double share);
    bool ProjectFileObject_End(double share);

    // --- member files (IcmdReadWriteProjectFiles.cpp) ---
    void ReadMemberFiles(bool& found);
    void ReadFileBlock(const std::string& list, int defaultType, bool found);
    void RestoreUsedDefinition(const std::string& fileName, const std::string& module);

    // --- per-module information (IcmdReadWriteProjectModules.cpp) ---
    // What a module has to write, as a set of these.
    enum ModuleFact : unsigned {
        kAssociated = 1u << 0,
        kPhySynthesis = 1u << 1,
        kCdbOrder = 1u << 2,
        kIncluded = 1u << 3,
        kSimulationPackages = 1u << 4,
        kSynthesisPackages = 1u << 5,
        kCustomizedInUse = 1u << 6,
        kCustomizedLists = 1u << 7,  // any, in use or not
        kStimulus = 1u << 8,
        kConstraints = 1u << 9,
        kStates = 1u << 10,
    };
    // What a module has to write. The lists of packages to leave out are
    // brought up to date as they are asked, so only the saving thread asks
    // FactsOf; the units' walk beside it asks FactsWithoutPackages, which
    // only reads the unit and gives the same for a unit that lists no
    // package to leave out.
    unsigned FactsOf(ImodelModule& module);
    unsigned FactsWithoutPackages(const ImodelModule& module) const;
    // What the modules of the design's libraries have, each module asked
    // once per save; and whether one of them has one of `facts`.
    void TakeDesignFacts();
    // Every unit of the design's libraries and what each has, as asked (or
    // kAskOnThisThread for a unit only the calling thread may ask); then
    // `kept`: those with something, in order, with what each has.
    struct UnitFacts {
        std::vector<ImodelModule*> units;
        std::vector<unsigned> facts;
        std::vector<std::pair<ImodelModule*, unsigned>> kept;
        std::exception_ptr failure;
    };
    // Gathers them on a thread of its own while the file list is written;
    // TakeDesignFacts waits for it (or gathers them itself, when the thread
    // could not start).
    void StartGatheringUnitFacts();
    void GatherUnitFacts();
    using UnitSet = ZorpaUnitSet<ImodelModule*>;
    // The library's units appended to `units`, in order.
    static void WalkInOrder(const UnitSet& set, std::vector<ImodelModule*>& units);
    // Keeps in m_unitFacts the units with facts, each library's in order;
    // `inOrder` tells which libraries' units were gathered in order.
    void KeepUnitsWithFacts(const std::vector<const UnitSet*>& sets, const std::vector<char>& inOrder);
    // Puts units of the library in its order.
    static void PutInOrder(const UnitSet& set, std::vector<std::pair<ImodelModule*, unsigned>>& units);
    // FactsOf of the units [first, last) into m_unitFacts.facts, or
    // kAskOnThisThread for a unit only the thread that saves may ask; runs
    // beside the saving thread, and only reads the units.
    void AskUnits(std::size_t first, std::size_t last);
    static constexpr unsigned kAskOnThisThread = ~0u;
    // The units a thread of its own is worth.
    static constexpr std::size_t kUnitsPerSlice = 4096;
    bool DesignHas(unsigned facts);
    bool WriteModuleInfo(ImodelModule* module);
    bool WriteModuleInfo(ImodelModule& module, unsigned facts);
    void ReadModuleInfo(ImodelModule* module, LineIterator& line, LineIterator end);
    // The modules of the hierarchy, each once (ImodelUnitsInTreeOrder), and
    // of them the first of each name in the order in which a walk along
    // every path meets them; worked out once per save.
    const std::vector<ImodelModule*>& TreeOrder();
    const std::vector<ImodelModule*>& FirstOfEachName();
    void WriteModuleListInfo(ideModuleInfoType kind);
    bool ReadModuleListInfo(ideModuleInfoType kind);
    bool ProjectFileObject_ModuleInfo_Type(ideModuleInfoType kind);
    void WriteModuleAssociation(FileListAsIs list, ModuleFact fact);
    void ReadModuleAssociation(LineIterator& line, LineIterator end, FileListOf list, const int* defaultType);
    void WriteCustomizedSourceFileLists();
    void WritePhySynthesis();
    // A module's data of a kind: the file lines (kinds 0, 1 and 3) or the
    // component-id texts (kind 2).
    void WriteModuleKind(ImodelModule& module, ideModuleInfoType kind);
    bool ModuleKindIsEmpty(ImodelModule& module, ideModuleInfoType kind);
    void ReadModuleKind(ImodelModule& module, ideModuleInfoType kind, const Lines& lines);
    void ReadModuleFiles(const Lines& lines, FileList& into, const int* defaultType);
    // The lines of the sub-list opened at `line` ("LIST " + name) when it
    // is, up to its matching ENDLIST; `line` moves after it.
    static bool TakeSubList(const std::string& name, LineIterator& line, LineIterator end, Lines& out);

    // --- process states ---
    void WriteStates(ImodelModule* module);
    void Restore2_3ProjectStates();
    void Restore5_0ProjectState(ImodelModule* module, int toolStates, int fileStates);
    void ReadModuleStates(ImodelModule* module, Lines& lines, bool top);

    // --- options and profiles (IcmdReadWriteProjectOptions.cpp) ---
    void ReadProfile(std::string& profile, std::string& tool, std::string& location, std::string& parameters,
                     bool& batch, const std::string& key, const std::string& value);
    void ReadProfile(ImodelFunctionType& kind, std::string& profile, std::string& tool, std::string& location,
                     std::string& parameters, bool& batch, const std::string& name, const std::string& value);
    void WriteProfile(const IprofileManagedProfile& profile);
    void ReadOlderProfileSection(const char* list, ImodelFunctionType kind);
    void AddOlderProfile(ImodelFunctionType kind, const std::string& profile, const std::string& tool,
                         const std::string& location, const std::string& parameters, bool batch);

    ideProjectFileWhatToDo m_mode;
    std::fstream* m_stream;
    const std::vector<Iconvert*>& m_converters;
    Meter m_meter;
    bool m_fileListFlag;
    bool m_parseWhole = false;
    std::string m_version;
    ImodelFileName m_savedIn;
    ImodelFileName m_projectFileName;
    std::string m_caption;
    std::string m_activeRoot;
    ImodelProjectFileStructure m_parser;
    bool m_isVHDL = true;
    bool m_hdlKeyFound = false;
    bool m_deviceChanged = false;
    std::vector<std::string> m_openedFileLines;
    std::deque<ImodelModule*> m_modulesWithSynthOption;
    // The keys of the member files not counted yet, read from their block
    // when a core description first reports a file: most opens report none.
    const ImodelFileObject_LIST* m_blockToCount = nullptr;
    std::unordered_set<std::string> m_filesToCount;
    double m_position = -1;
    double m_perFileShare = -1;
    unsigned int m_lastMeterValue = 0;
    bool m_newModuleInfo = false;
    std::vector<std::string>* m_openedFilesToWrite = nullptr;
    std::optional<std::vector<ImodelModule*>> m_treeOrder;
    std::optional<unsigned> m_designFacts;
    // The options variable behind a unit's default physical-synthesis
    // options, read once when a write starts: every unit is asked.
    bool m_defaultUseSynplifySDC = false;
    std::vector<std::pair<ImodelModule*, unsigned>> m_moduleFacts;
    std::vector<ImodelModule*> m_modulesWithStates;
    std::optional<std::vector<ImodelModule*>> m_firstOfEachName;
    UnitFacts m_unitFacts;
    std::thread m_unitFactsThread;
    Step m_currentStep = nullptr;
    std::vector<StepEntry> m_steps;
    // The text a write makes, in one buffer that goes to the disk as it is:
    // a string stream copies its text as it grows and once more at the end,
    // megabytes for a project of many files.
    class TextBuffer : public std::streambuf {
    public:
        std::string& Text() { return m_text; }

    protected:
        int_type overflow(int_type c) override
        {
            if (!traits_type::eq_int_type(c, traits_type::eof())) m_text.push_back(traits_type::to_char_type(c));
            return traits_type::not_eof(c);
        }
        std::streamsize xsputn(const char* text, std::streamsize count) override
        {
            m_text.append(text, static_cast<std::size_t>(count));
            return count;
        }

    private:
        std::string m_text;
    };
    // What a write produces; it reaches the disk in the last step.
    TextBuffer m_text;
    std::ostream m_out{&m_text};
    // Why the file read cannot be trusted; empty while nothing was found.
    std::string m_damage;
    std::string m_writeError;
};

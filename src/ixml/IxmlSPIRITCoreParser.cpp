// The reading of a core's descriptions: the file-set table, the walk over a
// description and its sub-components, and the reading of each file element.
#include "ixml/IxmlSPIRITCoreParser.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileProjectOpening.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>
#include <ulv/UlvXml.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <array>
#include <unordered_set>
#include <utility>

namespace {

// A core nests its components a few levels deep; a chain longer than this
// is no core of ours (and a loop of descriptions ends here at the latest).
constexpr int kMaxSubComponentDepth = 32;

constexpr const char* kSynplifyKey = "SYNPLIFY7_EXT";
constexpr const char* kPrecisionKey = "PRECISION_EXT";
// The kind of project a description read file by file stands for, in messages.
constexpr const char* kDescriptionKind = "Dremmet 1.0 to 1.2 Project";

using FileSetName = IxmlSPIRITCoreParser::FileSetName;
using ViewReaderStruct = IxmlSPIRITCoreParser::ViewReaderStruct;

bool IsOptionOn(const char* name)
{
    int value = 0;
    return DefGetBoolFL(name, &value, __FILE__, __LINE__) == 0 && value == 1;
}

FileSetName Named(const std::string& name, const std::string& key = std::string())
{
    FileSetName set;
    set.name = name;
    set.optionKey = key;
    return set;
}

ViewReaderStruct Reader(const std::string& name, const std::string& alternative, zorpaFileManagerTypes type,
                        ImodelFunctionType tool, bool allTools, bool copyLocally)
{
    ViewReaderStruct reader;
    reader.main = Named(name);
    reader.alternative = Named(alternative);
    reader.fileType = type;
    reader.tool = tool;
    reader.allTools = allTools;
    reader.copyLocally = copyLocally;
    return reader;
}

// The types a description may name for a file, by their text.
constexpr std::array<std::pair<const char*, zorpaFileManagerTypes>, 10> kTypeTexts{{
    {"PDC", zorpaFT_PDC},
    {"SDC", zorpaFT_SDC},
    {"DB", zorpaFT_ARM_DB},
    {"LIB", zorpaFT_ARM_LIB},
    {"UFC", zorpaFT_UNKNOWN},
    {"EFC", zorpaFT_UNKNOWN},
    {"Behave", zorpaFT_OTHER_HDL},
    {"GEN", zorpaFT_GEN},
    {"LOG", zorpaFT_LOG},
    {"DO", zorpaFT_DO},
}};

std::optional<PersistXMLAtom> Child(const PersistXMLAtom& atom, const char* name)
{
    return UlvFindChildAtomNoCase(atom, name);
}

std::string ChildText(const PersistXMLAtom& atom, const char* name)
{
    const std::optional<PersistXMLAtom> child = Child(atom, name);
    return child ? child->getText() : std::string();
}

bool HasExtension(const std::vector<std::string>& extensions, const std::string& extension)
{
    return std::any_of(extensions.begin(), extensions.end(), [&extension](const std::string& accepted) {
        return ImodelIsSameStrNoCase(accepted, extension);
    });
}

// Changes the read-only attribute of a file of the project; files outside
// the project are somebody else's and stay as they are.
void SetReadOnlyInProject(const IfileObject& file, bool readOnly)
{
    if (file.IsLocalFile()) SysSetReadOnlyAttr(file.GetFullFileName().GetString(), readOnly);
}

// The name of a file in a path, or empty when the path ends in no name.
std::string LastName(std::string path)
{
    ImodelSetValidSeparator(path, false);
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name == "." || name == "..") name.clear();
    return name;
}

IfileObject FileOf(const std::string& path, zorpaFileManagerTypes type)
{
    return IfileObject(ImodelFileName(path), type, ImodelFMFull, true, true);
}

}  // namespace

// --- one walk over a description and its sub-components --------------------------------

class IxmlSPIRITCoreParser::TreeReading {
public:
    TreeReading(IxmlSPIRITCoreParser& parser, const IfileObject& top, bool quiet)
        : m_parser(parser), m_quiet(quiet), m_coreFolder(top.GetFileLocation().GetString())
    {
    }

    // Depth first in the order the descriptions name their sub-components,
    // each file once; the result is that of the first file.
    bool Run(const IfileObject& top, const IfileObject* referring)
    {
        struct Pending {
            IfileObject file;
            std::optional<IfileObject> referring;
            int depth;
        };
        std::vector<Pending> pending;
        pending.push_back({top, referring ? std::optional<IfileObject>(*referring) : std::nullopt, 0});
        bool first = true;
        bool result = false;
        while (!pending.empty()) {
            Pending next = std::move(pending.back());
            pending.pop_back();
            if (!m_read.insert(ImodelFileNameKey(next.file.GetFullFileName().GetString())).second) {
                if (IxmlIsDebugMsg())
                    SysDebugPrintf("Skipped sub-component %s, read already\n", next.file.GetFullFileName().c_str());
                continue;
            }
            std::vector<IfileObject> subFiles;
            const bool read = ReadFile(next.file, next.referring ? &*next.referring : nullptr, subFiles);
            if (first) result = read;
            first = false;
            if (next.depth >= kMaxSubComponentDepth) {
                if (!subFiles.empty() && IxmlIsDebugMsg())
                    SysDebugPrintf("ERROR: sub-components of %s nest too deep, not read\n",
                                   next.file.GetFullFileName().c_str());
                continue;
            }
            // Pushed backwards, so that they are read in their order.
            for (auto sub = subFiles.rbegin(); sub != subFiles.rend(); ++sub) {
                if (IxmlIsDebugMsg()) SysDebugPrintf("Found sub-component %s\n", sub->GetFullFileName().c_str());
                if (*sub == next.file) continue;
                pending.push_back({*sub, next.file, next.depth + 1});
            }
        }
        return result;
    }

private:
    bool ReadFile(const IfileObject& file, const IfileObject* referring, std::vector<IfileObject>& subFiles)
    {
        PersistCollection document{std::string()};
        bool read = IxmlSPIRITCoreReader::LoadXML(document, file);
        const std::optional<PersistXMLAtom> root = read ? document.getRootAtom() : std::nullopt;
        read = root && UlvIsStrEqualNoCase(root->getName(), "Component") &&
               ReadComponent(*root, file, referring, subFiles);
        if (!read && !m_quiet) ImodelDisplayINVALID_CORE_MSG(kDescriptionKind, file.GetFullFileName().c_str());
        return read;
    }

    bool ReadComponent(const PersistXMLAtom& root, const IfileObject& file, const IfileObject* referring,
                       std::vector<IfileObject>& subFiles)
    {
        const std::optional<PersistXMLAtom> name = Child(root, "name");
        if (name && IxmlIsDebugMsg()) SysDebugPrintf("Found component %s\n", name->getText().c_str());
        const std::optional<PersistXMLAtom> hwModel = Child(root, "hwModel");
        const std::optional<PersistXMLAtom> views = Child(hwModel ? *hwModel : root, "views");
        if (!views) return true;
        ReadViews(root, *views, name ? name->getText() : std::string(), file, referring, subFiles);
        return true;
    }

    void ReadViews(const PersistXMLAtom& root, const PersistXMLAtom& views, const std::string& componentName,
                   const IfileObject& file, const IfileObject* referring, std::vector<IfileObject>& subFiles)
    {
        for (ViewReaderStruct& reader : m_parser.m_readers) {
            reader.main.files.clear();
            reader.alternative.files.clear();
            for (FileSetName& sub : reader.subSets) sub.files.clear();
        }
        SingleXMLContent content(file, componentName);
        for (const PersistXMLAtom& view : views.getChildAtoms()) {
            if (!UlvIsStrEqualNoCase(view.getName(), "view")) continue;
            if (IxmlIsDebugMsg()) SysDebugPrintf("Found view %s\n", ChildText(view, "name").c_str());
            for (const PersistXMLAtom& reference : view.getChildAtoms())
                if (UlvIsStrEqualNoCase(reference.getName(), "fileSetRef"))
                    ReadFileSetRef(root, reference.getText(), content, file);
            ReserveAlternatives();
        }

        std::vector<IfileObjectEx> collected;
        std::unordered_set<std::string> keys;
        IfileObjectEx self(file, false);
        if (referring) self.AddParentFile(*referring);
        keys.insert(ImodelFileNameKey(file.GetFullFileName().GetString()));
        collected.push_back(std::move(self));
        for (ViewReaderStruct& reader : m_parser.m_readers) {
            AppendValidFileList(reader, reader.main, file, collected, keys);
            AppendValidFileList(reader, reader.alternative, file, collected, keys);
            for (FileSetName& sub : reader.subSets) AppendValidFileList(reader, sub, file, collected, keys);
        }
        const zorpaFileManagerTypes coreType = m_parser.GetCoreFile().GetFileSpecificType();
        for (IfileObjectEx& member : collected) {
            if (member.GetFileSpecificType() == coreType)
                subFiles.push_back(static_cast<const IfileObject&>(member));
            else
                content.m_files.push_back(std::move(member));
        }
        ReadLibraries(root, file, content);
        m_parser.m_contents.push_back(std::move(content));
    }

    // Files of an alternative set go to the set's tool, but not to the tool
    // variants that have sets of their own.
    void ReserveAlternatives()
    {
        for (ViewReaderStruct& reader : m_parser.m_readers) {
            if (reader.alternative.name.empty() || reader.alternative.files.empty() || reader.allTools) continue;
            IfileObjectEx::type_Filter filter(reader.tool, std::string());
            for (const FileSetName& sub : reader.subSets) filter.skippedProfiles.insert(sub.optionKey);
            for (IfileObjectEx& member : reader.alternative.files) {
                member.ResetUseForToolList(reader.tool);
                member.SetUseForTool(filter);
            }
        }
    }

    void AppendValidFileList(const ViewReaderStruct& reader, FileSetName& entry, const IfileObject& xmlFile,
                             std::vector<IfileObjectEx>& collected, std::unordered_set<std::string>& keys)
    {
        for (IfileObjectEx& member : entry.files) {
            const std::string fullName = member.GetFullFileName().GetString();
            if (!reader.extensions.empty() && !HasExtension(reader.extensions, member.GetExt())) {
                entry.skipped = true;
                if (IxmlIsDebugMsg()) SysDebugPrintf("Skipped file %s\n", fullName.c_str());
                continue;
            }
            if (!keys.insert(ImodelFileNameKey(fullName)).second) continue;
            member.AddParentFile(xmlFile);
            entry.found = true;
            if (IxmlIsDebugMsg()) SysDebugPrintf("Found file %s\n", fullName.c_str());
            collected.push_back(std::move(member));
        }
        entry.files.clear();
    }

    void ReadLibraries(const PersistXMLAtom& root, const IfileObject& file, SingleXMLContent& content)
    {
        const std::optional<PersistXMLAtom> extension = Child(root, "vendorExtension");
        const std::optional<PersistXMLAtom> libraries = extension ? Child(*extension, "libraries") : std::nullopt;
        if (!libraries) return;
        ImodelFileName folder;
        const bool inProject = file.GetRelativeFolder(folder);
        for (const PersistXMLAtom& library : libraries->getChildAtoms()) {
            if (!UlvIsStrEqualNoCase(library.getName(), "library")) continue;
            const std::optional<PersistXMLAtom> name = Child(library, "name");
            const std::optional<PersistXMLAtom> path = Child(library, "path");
            if (!name || !path) continue;
            auto added = boost::make_shared<ZorpaLibrary<ImodelModule*>>(name->getText());
            if (inProject) {
                // Kept relative to the simulation folder, where the
                // simulator's set-up file names it.
                ImodelFileName libraryPath(folder.GetString() + SysGetDirChar() + path->getText());
                ImodelFileName simulation;
                ImodelGetPathForFile(zorpaFT_SIM, simulation, ImodelGetFullPathParam());
                ImodelGetRelativePath(simulation, libraryPath);
                added->SetPath(libraryPath.GetString());
            }
            content.m_libraries.push_back(std::move(added));
        }
    }

    void ReadFileSetRef(const PersistXMLAtom& root, const std::string& setName, SingleXMLContent& content,
                        const IfileObject& xmlFile)
    {
        if (IxmlIsDebugMsg()) SysDebugPrintf("Found file set ref: %s\n", setName.c_str());
        const std::optional<PersistXMLAtom> fileSets = Child(root, "fileSets");
        if (!fileSets) return;
        ViewReaderStruct* owner = nullptr;
        FileSetName* entry = nullptr;
        for (ViewReaderStruct& reader : m_parser.m_readers) {
            if (reader.main.name == setName) {
                entry = &reader.main;
            } else if (!reader.alternative.name.empty() && reader.alternative.name == setName) {
                entry = &reader.alternative;
            } else {
                const auto sub = std::find_if(reader.subSets.begin(), reader.subSets.end(),
                                              [&](const FileSetName& set) { return set.name == setName; });
                if (sub != reader.subSets.end()) entry = &*sub;
            }
            if (entry != nullptr) {
                owner = &reader;
                break;
            }
        }
        if (entry == nullptr) {
            if (IxmlIsDebugMsg()) SysDebugPrintf("Found unsupported file set ref: %s\n", setName.c_str());
            return;
        }
        std::optional<PersistXMLAtom> fileSet;
        for (const PersistXMLAtom& candidate : fileSets->getChildAtoms()) {
            std::string id;
            if (UlvIsStrEqualNoCase(candidate.getName(), "fileSet") && candidate.getAttribute("fileSetId", id) &&
                id == setName) {
                fileSet = candidate;
                break;
            }
        }
        if (!fileSet) {
            if (IxmlIsDebugMsg()) SysDebugPrintf("ERROR: fileSetRef not found: %s\n", setName.c_str());
            return;
        }
        int added = 0;
        for (const PersistXMLAtom& element : fileSet->getChildAtoms())
            if (UlvIsStrEqualNoCase(element.getName(), "file") &&
                ReadFileElement(element, *owner, *entry, content, xmlFile))
                ++added;
        entry->referenced = true;
        if (added == 0 && IxmlIsDebugMsg()) SysDebugPrintf("ERROR: Found empty fileSetRef: %s\n", setName.c_str());
    }

    bool IsConstraintReader(const ViewReaderStruct& reader) const
    {
        return reader.main.name == "ANY_SYNTHESIS_FILESET" || reader.main.name == "PALLADOR_FILESET";
    }

    // The type text of a file element; empty when it names none.
    static std::string TypeText(const PersistXMLAtom& element)
    {
        if (const std::optional<PersistXMLAtom> own = Child(element, "userFileType")) return own->getText();
        const std::optional<PersistXMLAtom> fileType = Child(element, "fileType");
        if (!fileType) return std::string();
        const std::optional<PersistXMLAtom> user = Child(*fileType, "userFileType");
        if (!user) return fileType->getText();
        std::string text = user->getText();
        std::string attribute;
        if (user->getAttribute("type", attribute) && !attribute.empty()) {
            if (!text.empty() && text != attribute && IxmlIsDebugMsg())
                SysDebugPrintf("Error: userFiletype attribute is set and has a different value from the description "
                               "value\n");
            text = attribute;
        }
        return text;
    }

    bool ReadFileElement(const PersistXMLAtom& element, const ViewReaderStruct& reader, FileSetName& entry,
                         SingleXMLContent& content, const IfileObject& xmlFile)
    {
        const std::optional<PersistXMLAtom> name = Child(element, "name");
        if (!name) return false;
        const std::optional<PersistXMLAtom> location = Child(element, "location");
        const std::string relative =
            location ? location->getText() + SysGetDirChar() + name->getText() : name->getText();
        std::string joined;
        if (!IxmlSPIRITCoreReader::ResolveCorePath(xmlFile.GetFileLocation().GetString(), relative, m_coreFolder,
                                                   joined)) {
            if (!m_quiet)
                ImodelDisplaySPIRIT_FILE_OUTSIDE_CORE_MSG(relative.c_str(), xmlFile.GetFileTitleAndExt().c_str());
            return false;
        }
        const std::string source = UtlGetQualifiedPath(joined);

        zorpaFileManagerTypes type = reader.fileType;
        std::string typeText = TypeText(element);
        if (IsConstraintReader(reader) && typeText == "unknown") {
            typeText.clear();
            const int constraintType = ImodelGetSpecificFileType(zorpaFT_GROUP_CONSTRAINT, ImodelFileName(source));
            if (constraintType >= 0 && constraintType <= 54) return false;
        }
        if (!typeText.empty()) {
            for (const auto& [text, mapped] : kTypeTexts)
                if (ImodelIsSameStrNoCase(typeText, text)) type = mapped;
        }

        const IfileObject sourceFile = FileOf(source, type);
        std::optional<IfileObjectEx> member;
        if (reader.copyLocally && !ImodelIsSameStrNoCase(sourceFile.GetExt(), "do")) {
            bool held = false;
            member = LocalCopy(sourceFile, type, xmlFile, held);
            if (held) return false;
        }
        if (!member) {
            // A file the project holds on its own (no core brought it) stays
            // the project's: were the core to take it, the file would
            // become read-only and leave the project with the core.
            if (type != m_parser.GetCoreFile().GetFileSpecificType())
                if (IfileHeldByProject(sourceFile, nullptr)) {
                    TellHeld(source, xmlFile);
                    return false;
                }
            member = ReadInPlace(sourceFile, type);
        }

        ReadVendorExtension(element, *member, content);
        if (const std::optional<PersistXMLAtom> include = Child(element, "isIncludeFile"))
            member->SetIsIncludedFile(true);
        if (const std::optional<PersistXMLAtom> logical = Child(element, "logicalName"))
            member->SetLibraryName(logical->getText());
        if (!reader.allTools) {
            member->SetUsedByAllTools(false);
            member->SetUseForTool(IfileObjectEx::type_Filter(reader.tool, entry.optionKey));
        }
        entry.files.push_back(std::move(*member));
        return true;
    }

    static void TellHeld(const std::string& fileName, const IfileObject& xmlFile)
    {
        ImodelDisplayCORE_FILE_HELD_BY_PROJECT_MSG(fileName.c_str(), xmlFile.GetFileTitleAndExt().c_str());
    }

    // A file of a set that copies locally: the project's copy when there is
    // one; the source itself for a core-generator core, or when no copy
    // could be made. A project file at the copy's place that this
    // description did not put there (the user's own, another core's) is
    // neither overwritten nor taken: `held` says so, and the file element
    // is then left out, but for a core-generator core, which keeps its
    // source.
    std::optional<IfileObjectEx> LocalCopy(const IfileObject& sourceFile, zorpaFileManagerTypes type,
                                           const IfileObject& xmlFile, bool& held)
    {
        const std::string title = LastName(sourceFile.GetFullFileName().GetString());
        if (title.empty()) return std::nullopt;
        const IfileObject destinationFile(ImodelFileName(title), type, ImodelFMShort, false, true);
        const std::string source = sourceFile.GetFullFileName().GetString();
        const std::string destination = destinationFile.GetFullFileName().GetString();
        if (IfileHeldByProject(destinationFile, &xmlFile)) {
            TellHeld(destination, xmlFile);
            if (m_parser.IsKTCore()) return IfileObjectEx(FileOf(source, type), false);
            held = true;
            return std::nullopt;
        }
        std::string taken = source;
        if (UtlDoesFileExist(source)) {
            SetReadOnlyInProject(sourceFile, false);
            bool copied = true;
            if (m_parser.m_localCopies || !UtlDoesFileExist(destination)) {
                ImodelValidateOrCreateDirectory(destinationFile.GetFileLocation());
                if (SysCopy(source, destination) != 0) {
                    ImodelDisplayUNABLE_TO_COPY_MSG(source.c_str(), destination.c_str());
                    copied = false;
                }
            }
            if (copied) {
                if (IxmlIsDebugMsg())
                    SysDebugPrintf("%s '%s' to '%s'.\n", "Copied", source.c_str(), destination.c_str());
                SetReadOnlyInProject(destinationFile, false);
            }
            if (!m_parser.IsKTCore() && UtlDoesFileExist(destination)) taken = destination;
        } else if (UtlDoesFileExist(destination)) {
            taken = destination;
        }
        return IfileObjectEx(FileOf(taken, type), false);
    }

    IfileObjectEx ReadInPlace(const IfileObject& sourceFile, zorpaFileManagerTypes type)
    {
        IfileObjectEx member(sourceFile, false);
        if (type == zorpaFT_ARM_DB) {
            // The core console writes into its database.
            SetReadOnlyInProject(sourceFile, false);
            return member;
        }
        if (m_parser.m_readOnlyImport) {
            SetReadOnlyInProject(sourceFile, true);
            if (Imodel::IsRunningTests()) GetReadOnlyFiles().push_back(sourceFile);
        }
        // Read with the project (an open, a refresh) too: a file the project
        // holds keeps its own mark then (AddFiles), and one it does not hold
        // comes in as an import brings it.
        if (Imodel::GetInstance().OpenAllCoreFilesInReadOnly()) member.SetIDEReadOnly(true);
        return member;
    }

    void ReadVendorExtension(const PersistXMLAtom& element, IfileObjectEx& member, SingleXMLContent& content)
    {
        const std::optional<PersistXMLAtom> extension = Child(element, "vendorExtension");
        if (!extension) return;
        if (Child(*extension, "isEncrypted")) {
            member.SetIsEncryptedFile(true);
            if (m_parser.IsCoreType(VyIfaces::IComponent::SynplifyDSP)) {
                member.SetUsedByAllTools(false);
                member.SetUseForTool(IfileObjectEx::type_Filter(ideSYNTHESIS, std::string()));
            }
        }
        if (const std::optional<PersistXMLAtom> switches = Child(*extension, "modelSimSwitches")) {
            std::string setting = member.GetCompileSetting();
            for (const PersistXMLAtom& option : switches->getChildAtoms()) {
                if (!UlvIsStrEqualNoCase(option.getName(), "switch")) continue;
                if (!setting.empty()) setting += ' ';
                setting += option.getText();
            }
            member.SetCompileSetting(setting);
        }
        if (Child(*extension, "isIncludeFile")) member.SetIsIncludedFile(true);
        if (member.GetFileSpecificType() == zorpaFT_DO && Child(*extension, "IncludeInRunDo"))
            content.AddRunDoFile(member);
        const std::optional<PersistXMLAtom> underTest = Child(*extension, "ModuleUnderTest");
        const std::optional<PersistXMLAtom> time = Child(*extension, "SimulationTime");
        if (underTest || time)
            member.SetStimulusOptions(IfileObjectEx::StimulusOptions(underTest ? underTest->getText() : std::string(),
                                                                     time ? time->getText() : std::string()));
    }

    IxmlSPIRITCoreParser& m_parser;
    bool m_quiet;
    std::string m_coreFolder;
    std::unordered_set<std::string> m_read;
};

// --- the parser --------------------------------------------------------------------------

IxmlSPIRITCoreParser::IxmlSPIRITCoreParser(const IfileObject& coreFile, bool readOnlyImport,
                                           const std::string& expectedRoot, VyIfaces::IComponent* component, bool quiet,
                                           bool parseNow, bool localCopies)
    : IxmlSPIRITCoreReader(coreFile, expectedRoot, component, quiet), m_readOnlyImport(readOnlyImport),
      m_localCopies(localCopies)
{
    if (IsLoaded()) initViewReader();
    if (!parseNow) return;
    if (IsCoreType(VyIfaces::IComponent::Block)) {
        ParseComponent(coreFile, true, false, true, nullptr);
        return;
    }
    for (const IfileObject& description : GetComponents()) ReadTree(description, &GetCoreFile(), false);
}

IxmlSPIRITCoreParser::~IxmlSPIRITCoreParser() = default;

void IxmlSPIRITCoreParser::SetComponentChoices(VyIfaces::IComponent* component, bool readOnlyImport, bool localCopies)
{
    SetComponent(component);
    m_readOnlyImport = readOnlyImport && !IsOptionOn("IDE_CORE_IMPORT_DISABLE_READONLY");
    m_localCopies = localCopies;
}

std::deque<IfileObject>& IxmlSPIRITCoreParser::GetReadOnlyFiles()
{
    static std::deque<IfileObject> files;
    return files;
}

IxmlSPIRITCoreParser::ViewReaderStruct&
IxmlSPIRITCoreParser::AddNewViewReader(const ViewReaderStruct& reader, const std::vector<std::string>& extensions,
                                       bool copyLocally)
{
    ViewReaderStruct added = reader;
    added.extensions = extensions;
    added.copyLocally = copyLocally;
    m_readers.push_back(std::move(added));
    return m_readers.back();
}

IxmlSPIRITCoreParser::ViewReaderStruct&
IxmlSPIRITCoreParser::AddNewViewReader(const ViewReaderStruct& reader, const std::string& extension, bool copyLocally)
{
    return AddNewViewReader(
        reader, extension.empty() ? std::vector<std::string>() : std::vector<std::string>{extension}, copyLocally);
}

void IxmlSPIRITCoreParser::initViewReader()
{
    std::vector<std::string> hdl;
    if (ImodelIsMixedHDLEnabled())
        hdl = {"vhd", "v", "h"};
    else if (Imodel::GetInstance().GetDesignManager()->IsDefaultVHDL())
        hdl = {"vhd"};
    else
        hdl = {"v", "h"};
    std::vector<std::string> synthesis = hdl;
    synthesis.push_back("sdc");

    m_readers.clear();
    AddNewViewReader(Reader("HDL_FILESET", "", zorpaFT_HDL, ideHDLEDITOR, true, false), hdl, false);
    AddNewViewReader(Reader("HDL_PACKAGE_FILESET", "", zorpaFT_HDL, ideHDLEDITOR, true, false), hdl, false);
    ViewReaderStruct& any = AddNewViewReader(
        Reader("ANY_SYNTHESIS_FILESET", "OTHER_SYNTHESIS_FILESET", zorpaFT_HDL, ideSYNTHESIS, false, false), synthesis,
        false);
    any.subSets = {Named("SYNPLIFY_SYNTHESIS_FILESET", kSynplifyKey),
                   Named("PRECISION_SYNTHESIS_FILESET", kPrecisionKey)};
    AddNewViewReader(Reader("ZEVORU_FILESET", "", zorpaFT_PDC, idePHYSYNTH, false, false),
                     std::vector<std::string>{"pdc", "lib"}, false);
    AddNewViewReader(Reader("ANY_SIMULATION_FILESET", "", zorpaFT_SIM, ideHDLEDITOR, true, true),
                     std::vector<std::string>{"mem", "bfm", "tcl", "do"}, true);
    AddNewViewReader(Reader("ANY_HDL_SIMULATION_FILESET", "", zorpaFT_HDL, ideSIMULATION, false, false),
                     std::vector<std::string>{"v", "vhd"}, false);
    AddNewViewReader(Reader("STIMULUS_FILESET", "", zorpaFT_TB_HDL, ideHDLEDITOR, true, false), hdl, false);
    AddNewViewReader(Reader("PALLADOR_FILESET", "", zorpaFT_ARM_DB, idePALLADOR, false, false),
                     std::vector<std::string>{"pdc", "lib", "cdb"}, false);
    AddNewViewReader(Reader("OTHER_FILESET", "", zorpaFT_UNKNOWN, ideHDLEDITOR, true, false),
                     std::vector<std::string>{"v", "vhd", "log", "ufc", "efc", "gen"}, false);
    AddNewViewReader(Reader("COMPONENT_FILESET", "", GetCoreFile().GetFileSpecificType(), ideHDLEDITOR, true, false),
                     "cxf", false);
    if (IsOptionOn("IDE_CORE_IMPORT_DISABLE_READONLY")) m_readOnlyImport = false;
}

bool IxmlSPIRITCoreParser::ReadTree(const IfileObject& file, const IfileObject* referring, bool quiet)
{
    return TreeReading(*this, file, quiet).Run(file, referring);
}

bool IxmlSPIRITCoreParser::ParseComponent(const IfileObject& file, bool addToModel, bool addCoreFile, bool quiet,
                                          std::set<ImodelModule*>* modules)
{
    std::vector<SingleXMLContent> previous;
    previous.swap(m_contents);
    const bool read = ReadTree(file, nullptr, quiet);
    if (read && addToModel) AddToModel(addCoreFile, modules);
    m_contents = std::move(previous);
    return read;
}

namespace {

// A named entry is covered when it found a file and, in a set that takes
// only some extensions, skipped none.
bool IsFullyTested(const FileSetName& entry, const ViewReaderStruct& reader)
{
    if (entry.name.empty()) return true;
    return entry.found && (reader.extensions.empty() || !entry.skipped);
}

}  // namespace

bool IxmlSPIRITCoreParser::IsFilesMapFullyCovered(std::string& failing) const
{
    for (const ViewReaderStruct& reader : m_readers) {
        const FileSetName* failed = nullptr;
        if (!IsFullyTested(reader.main, reader))
            failed = &reader.main;
        else if (!IsFullyTested(reader.alternative, reader))
            failed = &reader.alternative;
        for (const FileSetName& sub : reader.subSets)
            if (failed == nullptr && !IsFullyTested(sub, reader)) failed = &sub;
        if (failed != nullptr) {
            failing = failed->name;
            return false;
        }
    }
    return true;
}

void IxmlSPIRITCoreParser::SingleXMLContent::AddRunDoFile(const IfileObjectEx& file)
{
    if (std::none_of(m_runDoFiles.begin(), m_runDoFiles.end(),
                     [&file](const IfileObjectEx& known) { return known == file; }))
        m_runDoFiles.push_back(file);
}

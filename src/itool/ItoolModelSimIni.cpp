// The simulator's set-up file "modelsim.ini" and its memory-initialisation
// file "meminit.dat", in the project's simulation folder.
//
// Every rewrite reads the old file whole and writes the new text through a
// temporary file renamed over it: a failure leaves the old file as it was.
// Library mappings are only ever changed inside "[Library]" sections.
#include "itool/ItoolSetupFiles.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/ImodelProcess.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "iprofile/IprofileManager.h"
#include "itool/ItoolModelSimPathOptions.h"
#include "src/itool/itoolSetupFileText.h"

#include <foundation/Sys.h>

#include <array>
#include <string>

namespace {

const char* const kIniName = "modelsim.ini";
const char* const kMeminitName = "meminit.dat";
const char* const kLibraryHeader = "[Library]";

bool HasProjectFolder() { return !Imodel::GetInstance().GetDesignManager()->GetProjectFolder().empty(); }
bool ProjectIsVHDL() { return Imodel::GetInstance().GetDesignManager()->IsDefaultVHDL(); }
std::string ProjectFamily() { return Imodel::GetInstance().GetDeviceManager()->GetDevice().GetFamily(); }

std::string InSimulationFolder(const char* name)
{
    ImodelFileName path;
    ImodelGetFullPathForFile(ImodelFileName(name), zorpaFT_SIM, path);
    return path.GetString();
}

// The family's mapping for the project's language and family; empty when
// the library path is unknown.
std::string FamilyLine()
{
    const std::string family = ProjectFamily();
    std::string line;
    ItoolModelSimPathOptions::GetModelLibPathLine(line, ProjectIsVHDL(), family.empty() ? nullptr : &family);
    return line;
}

struct VendorLibrary {
    std::string name;
    std::string location;

    VendorLibrary()
    {
        ImodelDefGetStr("RERARU_LIB", name);
        ImodelDefGetStr("RERARU_LIB_LOC", location);
    }
    // No mapping at all rather than a broken " = " line.
    std::string Line() const { return name.empty() || location.empty() ? std::string() : name + " = " + location; }
};

// The simulator's library name of a family for the project's language.
std::string LibraryNameOf(const std::string& family)
{
    std::string name;
    std::string subdir;
    ItoolModelSimPathOptions::GetModelSimFam(name, subdir, ProjectIsVHDL(), family.empty() ? nullptr : &family);
    return name;
}

// The simulator executable of the tool profile, else "modelsim".
std::string SimulatorExecutable()
{
    std::string executable;
    if (ImodelHost* host = Imodel::GetInstance().GetHost()) {
        if (IprofileManager* profiles = host->GetProfileManager()) {
            std::string profile, tool, other, parameters;
            bool batch = false;
            profiles->GetProjectProfile(ideSIMULATION, profile, tool, other, executable, parameters, batch);
        }
    }
    return executable.empty() ? "modelsim" : executable;
}

// The text up to the last separator ("" without one).
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool WriteOrWarn(const std::string& path, const itoolLines& lines, const std::string* held = nullptr)
{
    if (itoolWriteLines(path, lines, held)) return true;
    ImodelDisplaySETUP_FILE_NOT_WRITTEN_MSG(path.c_str());
    return false;
}

// Walks the lines of a set-up file section by section and builds the new
// text. What a "[Library]" section is given is added where the section ends:
// before the header that follows it (after its trailing blank lines, which
// then separate it from that header again), or at the end of the file.
class LibrarySectionRewrite {
public:
    explicit LibrarySectionRewrite(std::size_t expectedLines) { m_out.reserve(expectedLines + 4); }

    bool InLibrary() const { return m_inLibrary; }
    itoolLines& Out() { return m_out; }

    // A header line: closes a "[Library]" section with `additions`, then
    // opens the new section. True when a "[Library]" section was closed.
    bool Header(const std::string& line, const itoolLines& additions)
    {
        const bool closed = m_inLibrary;
        if (closed) Close(additions, true);
        m_out.push_back(line);
        m_inLibrary = ImodelIsSameStrNoCase(line, kLibraryHeader);
        m_sectionStart = m_out.size();
        return closed;
    }
    // The end of the file: a "[Library]" section still open takes its
    // additions at the end. True when one was open.
    bool End(const itoolLines& additions)
    {
        const bool closed = m_inLibrary;
        if (closed) Close(additions, false);
        return closed;
    }

private:
    void Close(const itoolLines& additions, bool beforeHeader)
    {
        bool added = false;
        for (const std::string& line : additions) {
            if (line.empty()) continue;
            if (!added)
                while (m_out.size() > m_sectionStart && m_out.back().empty()) m_out.pop_back();
            m_out.push_back(line);
            added = true;
        }
        if (added && beforeHeader) m_out.emplace_back();
        m_inLibrary = false;
    }

    itoolLines m_out;
    bool m_inLibrary = false;
    std::size_t m_sectionStart = 0;
};

// The folder of a design state's simulation files, relative to the
// simulation folder, with "/".
std::string StateFolderFromSimulationFolder(imodelSolvatoState state)
{
    ImodelFileName base;
    ImodelGetFullPathForFile(zorpaFT_SIM, base);
    ImodelFileName folder;
    ImodelGetFullPathForFile(zorpaFT_SIM, folder, ImodelGetFullPathParam(state));
    ImodelGetRelativePath(base, folder);
    std::string text = folder.GetString();
    ImodelSecureCommandLine(text);
    return text;
}

}  // namespace

void ItoolCopyMeminit()
{
    if (!HasProjectFolder()) return;
    // On this platform an executable carries no extension: the name is
    // searched for as the profile gives it.
    std::string executable = SimulatorExecutable();
    if (!ImodelGetFullExePath(executable)) return;
    const std::string install = FolderOf(FolderOf(executable));
    const std::string source = install + "/brennic/" + (ProjectIsVHDL() ? "vhdl" : "vlog") + "/src/" + kMeminitName;
    if (!UtlDoesFileExist(source)) return;
    const std::string target = InSimulationFolder(kMeminitName);
    if (SysCopy(source, target) != 0) ImodelDisplayUNABLE_TO_COPY_MSG(source.c_str(), target.c_str());
}

void ItoolCreateModelSim()
{
    if (!HasProjectFolder()) return;
    ItoolCopyMeminit();
    itoolLines lines = {kLibraryHeader, std::string("others = $MODEL_TECH/../") + kIniName};
    if (const std::string family = FamilyLine(); !family.empty()) lines.push_back(family);
    if (const std::string vendor = VendorLibrary().Line(); !vendor.empty()) lines.push_back(vendor);
    lines.insert(lines.end(), {"", "[vcom]", "VHDL93 = 1", "", "[vsim]", "IterationLimit = 5000"});
    WriteOrWarn(InSimulationFolder(kIniName), lines);
}

void ItoolUpdateModelSim(bool repoint, const std::string& oldFamily)
{
    if (!HasProjectFolder()) return;
    const std::string path = InSimulationFolder(kIniName);
    if (!UtlDoesDiskObjectExist(path)) {
        ItoolCreateModelSim();
        return;
    }
    if (!Imodel::GetInstance().GetGlobalFlowOptions()->UpdateModelSimIni) return;
    itoolLines old;
    std::string held;
    if (!itoolReadLines(path, old, &held)) {
        ImodelDisplayUNABLE_TO_READ_MSG(path.c_str());
        return;
    }

    const std::string familyLine = FamilyLine();
    const VendorLibrary vendor;
    const std::string vendorLine = vendor.Line();
    const std::string familyLibrary = LibraryNameOf(ProjectFamily());
    const std::string oldFamilyLibrary = oldFamily.empty() ? std::string() : LibraryNameOf(oldFamily);
    struct Repointed {
        const char* word;
        imodelSolvatoState state;
    };
    static constexpr std::array<Repointed, 3> kRepointed = {
        {{"postlayout", Post_Layout}, {"postsynth", Post_Synthesis}, {"presynth", Pre_Synthesis}}};

    LibrarySectionRewrite rewrite(old.size());
    bool familyWritten = false;
    for (const std::string& line : old) {
        if (itoolIsHeader(line)) {
            if (rewrite.Header(line, {familyWritten ? std::string() : familyLine, vendorLine}))
                familyWritten = familyWritten || !familyLine.empty();
            continue;
        }
        if (!rewrite.InLibrary()) {
            rewrite.Out().push_back(line);
            continue;
        }
        if (itoolMapsKey(line, familyLibrary)) {
            // Without a known path the mapping the file has is the best
            // there is: it stays.
            if (familyLine.empty()) {
                rewrite.Out().push_back(line);
            } else if (!familyWritten) {
                rewrite.Out().push_back(familyLine);
            }
            familyWritten = true;
            continue;
        }
        // The vendor's mapping is written again where the section ends;
        // without a location to write, the file's own stays.
        if (itoolMapsKey(line, oldFamilyLibrary) || (!vendorLine.empty() && itoolMapsKey(line, vendor.name))) continue;
        std::string written = line;
        if (repoint)
            for (const Repointed& entry : kRepointed)
                if (itoolMapsKey(line, entry.word)) {
                    written = std::string(entry.word) + " = " + StateFolderFromSimulationFolder(entry.state);
                    break;
                }
        rewrite.Out().push_back(written);
    }
    rewrite.End({familyWritten ? std::string() : familyLine, vendorLine});
    if (WriteOrWarn(path, rewrite.Out(), &held)) ItoolCopyMeminit();
}

bool ItoolAddModelSimVMap(const std::string& library, const std::string& libraryPath)
{
    if (!HasProjectFolder() || library.empty()) return false;
    if (library.find_first_of("\r\n") != std::string::npos || libraryPath.find_first_of("\r\n") != std::string::npos)
        return false;
    const std::string path = InSimulationFolder(kIniName);
    if (!UtlDoesDiskObjectExist(path)) ItoolCreateModelSim();
    itoolLines old;
    std::string held;
    if (!itoolReadLines(path, old, &held)) {
        ImodelDisplayUNABLE_TO_READ_MSG(path.c_str());
        return false;
    }
    // An empty path only removes the library's mapping.
    const std::string mapping = libraryPath.empty() ? std::string() : library + " = " + libraryPath;
    bool mapped = mapping.empty();
    LibrarySectionRewrite rewrite(old.size());
    for (const std::string& line : old) {
        if (itoolIsHeader(line)) {
            if (rewrite.Header(line, {mapped ? std::string() : mapping})) mapped = true;
            continue;
        }
        if (!rewrite.InLibrary() || !itoolMapsKey(line, library)) rewrite.Out().push_back(line);
    }
    if (rewrite.End({mapped ? std::string() : mapping})) mapped = true;
    if (!WriteOrWarn(path, rewrite.Out(), &held)) return false;
    ItoolCopyMeminit();
    return mapped;
}

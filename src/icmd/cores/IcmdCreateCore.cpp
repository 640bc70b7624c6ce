// create_core: the core packager's script and the packager's run.
#include "icmd/cores/IcmdCreateCore.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelLinkList.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/ImodelProcess.h"
#include "imodel/names/imodelUtl.h"
#include "iprocess/IprocessFileObject.h"
#include "itool/ItoolPallador.h"
#include "itool/ItoolVeyrun.h"

#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>
#include <vy/VyLoaderFactory.h>

#include <sstream>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

// The packager's words.
constexpr const char* kNewCore = "new_core";
constexpr const char* kEmpty = "empty";
constexpr const char* kFile = "file";
constexpr const char* kModifyCore = "modify_core";
constexpr const char* kName = "name";
constexpr const char* kSetCoreType = "set_core_type";
constexpr const char* kType = "type";
constexpr const char* kUserIP = "UserIP";
constexpr const char* kSetLanguage = "set_language";
constexpr const char* kLanguage = "language";
constexpr const char* kVHDL = "VHDL";
constexpr const char* kVerilog = "Verilog";
constexpr const char* kAddView = "add_view";
constexpr const char* kAddFileset = "add_fileset";
constexpr const char* kView = "view";
constexpr const char* kAddSignal = "add_signal";
constexpr const char* kDirection = "direction";
constexpr const char* kBus = "bus";
constexpr const char* kLeft = "left";
constexpr const char* kRight = "right";
constexpr const char* kAddFile = "add_file";
constexpr const char* kFileset = "fileset";
constexpr const char* kLogicalName = "logical_name";
constexpr const char* kUserFileType = "user_file_type";
constexpr const char* kVHDLSource = "VHDLSource";
constexpr const char* kVerilogSource = "VerilogSource";
constexpr const char* kAddSubComponent = "add_sub_component";

// Writes " -<option>" and, for a text, a blank and the quoted value.
std::ostream& Option(std::ostream& out, const char* option) { return out << " -" << option; }
std::ostream& Option(std::ostream& out, const char* option, const std::string& value)
{
    return Option(out, option) << ' ' << IcmdCreateCore::QuoteValue(value);
}

std::string PathOf(const IfileObject& file)
{
    std::string path = file.GetFullFileName().GetString();
    UtlSetValidSeparator(path);
    return path;
}

const char* FileTypeWord(const IfileObject& file)
{
    bool isVHDL = false;
    file.IsFileHDL(isVHDL);
    return isVHDL ? kVHDLSource : kVerilogSource;
}

ImodelModule* RootModule() { return Imodel::GetInstance().GetDesignManager()->GetRootModule(); }

// Appends " -bus ..." for the kind of port.
class IcmdAddPortInCreateCoreVisitor : public Vymodel::VyPortVisitor {
public:
    explicit IcmdAddPortInCreateCoreVisitor(std::ostream& out) : m_out(out) {}

    void Visit(Vymodel::VyBusPort* port) override
    {
        const auto [left, right] = port->GetBusRange();
        Option(m_out, kBus) << " TRUE";
        Option(m_out, kLeft) << ' ' << left;
        Option(m_out, kRight) << ' ' << right;
    }
    void Visit(Vymodel::VyScalarPort*) override { Option(m_out, kBus) << " FALSE"; }

private:
    std::ostream& m_out;
};

}  // namespace

IcmdCreateCore::IcmdCreateCore() : IcmdBase(false), m_file(this, false) {}

IcmdCreateCore::~IcmdCreateCore() = default;

void IcmdCreateCore::SetFileObject(const IfileObject& file) { m_file.SetObject(file.GetFullFileName().GetString()); }

void IcmdCreateCore::SetFileObject(boost::shared_ptr<IfileObjectEx> file)
{
    m_file.SetObject(file ? file->GetFullFileName().GetString() : std::string());
}

std::string IcmdCreateCore::QuoteValue(const std::string& value)
{
    std::string word = "\"";
    for (const char c : value) {
        switch (c) {
        case '\\':
        case '$':
        case '[':
        case ']':
        case '"':
            word += '\\';
            word += c;
            break;
        case '\n':
            word += "\\n";
            break;
        case '\r':
            word += "\\r";
            break;
        default:
            word += c;
        }
    }
    return word + '"';
}

std::string IcmdCreateCore::GetScript()
{
    std::ostringstream out;
    std::string path = m_file.GetObject();
    if (!path.empty()) {
        Option(out << kNewCore, kFile, UtlSetValidSeparator(path)) << '\n';
        // The project holds no file whose name it cannot write, so such a
        // file defines none of its components.
        const boost::shared_ptr<IfileObjectEx> file =
            IfileIsStorableName(path)
                ? IfileManagerGetRealObject(ImodelFileName(path), ImodelFMFull, zorpaFT_UNKNOWN, true, true)
                : boost::shared_ptr<IfileObjectEx>();
        VyIfaces::IComponent* component = file ? ItoolVeyrun::FindSingleComponentFromDefFile(*file) : nullptr;
        if (component && component->GetModuleType() == VyIfaces::IComponent::Veyrun &&
            ImodelIsSwitchOn("PACK_ENTIRE_VY_ALLOWED"))
            addSubCXFFiles(ItoolVeyrun::FindModule(component), out);
    } else {
        addCoreCreation(out);
        addPorts(out);
        addSourceFiles(out);
        addAssociatedFiles(out);
        addPalladorConstraintFiles(out);
    }
    return out.str();
}

AcmdEnum::Result IcmdCreateCore::execDo()
{
    std::string name;
    std::string location;
    std::string options;
    ImodelDefGetStr("IDE_PACKAGER_NAME", name);
    ImodelDefGetStr("IDE_PACKAGER_LOC", location);
    ImodelDefGetStr(Imodel::IsInteractiveMode() ? "IDE_PACKAGER_OPT" : "IDE_PACKAGER_OPT_BATCH", options);

    // A private file the packager reads, never one somebody else placed
    // where the script goes.
    std::string script;
    std::string error;
    if (!SysWriteTemporaryFile("packager-", ".tcl", GetScript(), script, &error)) {
        ImodelDisplayPACKAGER_SCRIPT_NOT_WRITTEN_MSG(error.c_str());
        return AcmdEnum::Failure;
    }
    const std::string commandLine = ArgsQuote(location + "/" + name) + " " + ArgsQuote("SCRIPT:" + script, true) +
                                    " IDE_RUNS_PACKAGER:1 " + options;
    // The launch returns once the packager ended: its script can go then.
    const bool ran = ImodelCreateProcess(commandLine, SysGetTemporaryDirectoryName(),
                                         name.empty() ? std::string("IDE_PACKAGER_NAME") : name, false, nullptr, false);
    SysDelete(script);
    return ran ? AcmdEnum::Success : AcmdEnum::Failure;
}

void IcmdCreateCore::addCoreCreation(std::ostream& out)
{
    Option(out << kNewCore, kEmpty) << '\n';
    if (const ImodelModule* root = RootModule()) Option(out << kModifyCore, kName, root->GetName()) << '\n';
    Option(out << kSetCoreType, kType, kUserIP) << '\n';
    const bool vhdl = Imodel::GetInstance().GetDesignManager()->IsDefaultVHDL();
    Option(out << kSetLanguage, kLanguage, vhdl ? kVHDL : kVerilog) << '\n';
    Option(out << kAddView, kName, "HDL") << '\n';
    Option(Option(out << kAddFileset, kView, "HDL"), kName, "HDL_FILESET") << '\n';
}

void IcmdCreateCore::addPorts(std::ostream& out)
{
    const ImodelModule* root = RootModule();
    Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetWorkspace();
    if (root == nullptr || workspace == nullptr) return;
    const boost::shared_ptr<Vymodel::VyModule> module =
        Vymodel::VyLoaderFactory::LoadModule(root->GetFileName(), workspace->GetIDECallBack(), root->GetName());
    if (!module) return;
    for (const boost::shared_ptr<Vymodel::VyPort>& port : module->GetPorts(false)) {
        Option(Option(out << kAddSignal, kName, port->GetName()), kDirection, port->GetDirection().toString());
        IcmdAddPortInCreateCoreVisitor visitor(out);
        port->Accept(visitor);
        out << '\n';
    }
}

void IcmdCreateCore::addSourceFiles(std::ostream& out)
{
    ImodelModule::FileEntries files;
    ImodelGetHdlFileNames(files, RootModule(), idePACKAGER, nullptr, true);
    for (const boost::shared_ptr<IfileObjectEx>& file : files) {
        if (!file) continue;
        Option(Option(out << kAddFile, kFileset, "HDL_FILESET"), kName, PathOf(*file));
        if (file->GetLibraryName() != "work") Option(out, kLogicalName, file->GetLibraryName());
        Option(out, kType, FileTypeWord(*file)) << '\n';
    }
}

void IcmdCreateCore::addAssociatedFiles(std::ostream& out)
{
    const ImodelModule* root = RootModule();
    if (root == nullptr) return;
    std::unordered_set<std::string> written;
    for (const IfileObject& file : root->GetStimulusList()) {
        if (!written.insert(ImodelFileNameKey(file.GetFullFileName().GetString())).second) continue;
        if (written.size() == 1) {
            Option(out << kAddView, kName, "SIMULATION") << '\n';
            Option(Option(out << kAddFileset, kView, "SIMULATION"), kName, "STIMULUS_FILESET") << '\n';
        }
        Option(Option(Option(out << kAddFile, kFileset, "STIMULUS_FILESET"), kName, PathOf(file)), kType,
               FileTypeWord(file))
            << '\n';
    }
}

void IcmdCreateCore::addPalladorConstraintFiles(std::ostream& out)
{
    ImodelModule* root = RootModule();
    ItoolPallador* pallador = Imodel::GetInstance().GetPalladorTool();
    if (root == nullptr || pallador == nullptr) return;
    const boost::shared_ptr<IfileObjectEx> database = IprocessGetCurrentFile(root, zorpaFT_ADB, true, false);
    std::deque<IfileObject> files;
    std::string designName;
    if (!database || !pallador->GetConstraintFilesOfDatabase(*database, files, designName) || files.empty()) return;
    Option(out << kAddView, kName, "PALLADOR") << '\n';
    Option(Option(out << kAddFileset, kView, "PALLADOR"), kName, "PALLADOR_FILESET") << '\n';
    for (const IfileObject& file : files) {
        std::string extension = file.GetExt();
        ImodelMakeUpper(extension);
        Option(Option(Option(out << kAddFile, kFileset, "PALLADOR_FILESET"), kName, PathOf(file)), kUserFileType,
               extension)
            << '\n';
    }
}

void IcmdCreateCore::addSubCXFFiles(ImodelModule* module, std::ostream& out)
{
    if (module == nullptr) return;
    // Depth first without recursion: a unit is written once every unit
    // below it is; a unit met again (shared, or on a cycle) is not entered
    // again.
    struct Frame {
        ImodelModule* unit;
        std::vector<ImodelModule*> subs;
        std::size_t next = 0;
    };
    const auto framed = [](ImodelModule* unit) {
        Frame frame{unit, {}};
        if (const ImodelLinkList* subs = unit->GetSubBlocks()) frame.subs.assign(subs->begin(), subs->end());
        return frame;
    };
    std::unordered_set<const ImodelModule*> entered{module};
    std::vector<Frame> stack{framed(module)};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next < top.subs.size()) {
            ImodelModule* sub = top.subs[top.next++];
            if (sub != nullptr && entered.insert(sub).second) stack.push_back(framed(sub));
            continue;
        }
        ImodelModule* unit = top.unit;
        stack.pop_back();
        if (unit == module) break;
        const VyIfaces::IComponent* component = unit->GetComponent();
        if (component == nullptr || component->GetModuleType() == VyIfaces::IComponent::HDL) continue;
        std::string path = ItoolVeyrun::GetComponentFullFileName(component->GetDefinitionFileName());
        UtlSetValidSeparator(path);
        Option(out << kAddSubComponent, kFile, path) << '\n';
    }
}

// The kinds of files import_files takes, their options, and the file-dialog
// filters the host builds from them (ifc/icmd/files/IcmdImportFiles.h).
#include "icmd/files/IcmdImportFiles.h"

#include "ifile/IfileObject.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "iprocess/IprocessConditions.h"
#include "src/icmd/files/IcmdImportFileKinds.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <algorithm>

namespace {

using Filter = IcmdImportFiles::Filter;
using Extensions = IcmdImportFiles::ImportFileFilters::Extensions;

bool ProjectLoaded(const Imodel& model)
{
    return !const_cast<Imodel&>(model).GetDesignManager()->GetProjectName().empty();
}

// "(*.a; *.b)"
std::string ListText(const Extensions& extensions)
{
    if (extensions.empty()) return std::string();
    std::string text = "(";
    for (std::size_t i = 0; i < extensions.size(); ++i) text += (i ? "; *." : "*.") + extensions[i];
    return text + ")";
}

}  // namespace

// --- the option of a kind --------------------------------------------------------------------

IcmdImportFiles::ImportFilesParam::ImportFilesParam(const std::string& key, IcmdImportFiles* owner)
    : AcmdFileNameParam(key.c_str(), owner, AcmdValueType::RepeatList(), false, "file", "")
{
    // Written back only with files.
    SetExportOnlyWhenSet(true);
}

AcmdEnum::Result IcmdImportFiles::ImportFilesParam::SetValueFromText(const char* text)
{
    std::vector<std::string> names;
    if (!AcmdSplitList(text ? text : "", names)) {
        AcmdReport(AcmdMsg::InvalidList, {GetName(), text ? text : ""});
        return AcmdEnum::Failure;
    }
    if (!AcmdCheckNoNul(GetName(), names)) return AcmdEnum::Failure;
    const std::string folder = AcmdManager::GetInstance().GetCurrentFolder();
    for (const std::string& name : names)
        if (!name.empty()) AddName(AcmdGetFullPath(name, folder));
    return AcmdEnum::Success;
}

AcmdEnum::Result IcmdImportFiles::ImportFilesParam::SetValueTexts(std::vector<std::string> texts)
{
    m_names.clear();
    m_valueTexts.clear();
    for (const std::string& text : texts) AddName(text);
    return AcmdEnum::Success;
}

bool IcmdImportFiles::ImportFilesParam::AddName(const std::string& name)
{
    // Scripts hand over thousands of names at once: each is looked up once.
    if (!m_names.insert(name).second) return false;
    m_valueTexts.push_back(name);
    return true;
}

// --- a kind ---------------------------------------------------------------------------------

IcmdImportFiles::ImportFileFilters::ImportFileFilters(zorpaFileManagerTypes type, const std::string& key,
                                                      const std::string& description, const std::string& extension,
                                                      ImodelFunctionType tool, IcmdImportFiles* owner)
    : ImportFileFilters(type, key, description, Extensions{extension}, tool, owner)
{
}

IcmdImportFiles::ImportFileFilters::ImportFileFilters(zorpaFileManagerTypes type, const std::string& key,
                                                      const std::string& description, Extensions extensions,
                                                      ImodelFunctionType tool, IcmdImportFiles* owner)
    : m_extensions(std::move(extensions)), m_type(type), m_description(description), m_key(key), m_tool(tool),
      m_owner(owner)
{
}

IcmdImportFiles::ImportFileFilters::~ImportFileFilters() = default;

Imodel* IcmdImportFiles::ImportFileFilters::GetModel() const { return m_owner ? m_owner->GetModel() : nullptr; }

bool IcmdImportFiles::ImportFileFilters::IsSupported(Imodel* model, bool report) const
{
    if (!model) return false;
    if (!ProjectLoaded(*model)) {
        if (report) ImodelDisplayIMPORT_NO_PROJECT_LOADED_MSG(m_key.c_str());
        return false;
    }
    if (!IprocessIsToolHidden(m_tool, *model)) return true;
    if (report) ImodelDisplayIMPORT_NOT_SUPPORTED_MSG(m_key.c_str());
    return false;
}

bool IcmdImportFiles::ImportFileFilters::IsEditable() const
{
    switch (m_type) {
    case zorpaFT_PROFILES:
    case zorpaFT_MODELSIM_INI:
    case zorpaFT_OMBRIX_CXF:
    case zorpaFT_GEN:
    case zorpaFT_BTIM:
    case zorpaFT_QVZ:
        return false;
    default:
        return true;
    }
}

void IcmdImportFiles::ImportFileFilters::AppendFilter(std::string& filter)
{
    filter += m_description + " " + CreateFilterStr();
}

bool IcmdImportFiles::ImportFileFilters::IsValidExt(const std::string& extension)
{
    // Extensions compare without regard to case, as file names do.
    const Extensions& extensions = GetUpdatedExts();
    return std::any_of(extensions.begin(), extensions.end(),
                       [&extension](const std::string& own) { return ImodelIsSameStrNoCase(own, extension); });
}

std::string IcmdImportFiles::ImportFileFilters::CreateExtStrList() { return ListText(GetUpdatedExts()); }

std::string IcmdImportFiles::ImportFileFilters::CreateFilterStr()
{
    std::string patterns;
    for (const std::string& extension : GetUpdatedExts()) {
        if (!patterns.empty()) patterns += ";";
        patterns += "*." + extension;
    }
    return CreateExtStrList() + "|" + patterns + "|";
}

void IcmdImportFiles::ImportFileFilters::AddSpecialFileType(const char* extension, zorpaFileManagerTypes type)
{
    m_specialTypes.emplace_back(extension ? extension : "", type);
}

bool IcmdImportFiles::ImportFileFilters::AddFileObject(const ImodelFileName& name)
{
    return m_param && m_param->AddName(name.GetString());
}

void IcmdImportFiles::ImportFileFilters::CreateParam()
{
    m_param.reset();
    if (m_key.empty() || !m_owner) return;
    m_param = std::make_unique<ImportFilesParam>(m_key, m_owner);
    if (!m_deprecated) return;
    const Filter replacement = m_owner->GetImportFileFilter(m_type);
    m_param->SetDepreciated(true, replacement ? replacement->GetFilterType() : std::string());
}

bool IcmdImportFiles::ImportFileFilters::HasFiles() const { return m_param && !m_param->GetValueTexts().empty(); }

std::vector<std::string> IcmdImportFiles::ImportFileFilters::GetFiles() const
{
    return m_param ? m_param->GetValueTexts() : std::vector<std::string>();
}

void IcmdImportFiles::ImportFileFilters::UpdateExportState()
{
    if (m_param) m_param->SkipAtExport(!HasFiles());
}

bool IcmdImportFiles::ImportFileFilters::IsSupportedType(zorpaFileManagerTypes type) const
{
    return m_type == type || std::any_of(m_specialTypes.begin(), m_specialTypes.end(),
                                         [type](const auto& special) { return special.second == type; });
}

zorpaFileManagerTypes IcmdImportFiles::ImportFileFilters::SpecialTypeOf(const std::string& extension) const
{
    for (const auto& [own, type] : m_specialTypes)
        if (ImodelIsSameStrNoCase(own, extension)) return type;
    return m_type;
}

const Extensions& IcmdImportFiles::ImportFileFilters::GetUpdatedExts()
{
    UpdateExtensionMember();
    return m_extensions;
}

// --- the kinds that differ ---------------------------------------------------------------------

bool icmdImportVDFileFilters::IsValidExt(const std::string& extension) { return UtlIsLong(extension); }

std::string icmdImportVDFileFilters::CreateFilterStr()
{
    return CreateExtStrList() + "|*.1*;*.2*;*.3*;*.4*;*.5*;*.6*;*.7*;*.8*;*.9*|";
}

void icmdImportHDLFileFilters::UpdateExtensionMember()
{
    Imodel* model = GetModel();
    if (!model) {
        m_extensions = {std::string()};
        return;
    }
    if (model->GetDesignManager()->IsDefaultVHDL()) {
        m_extensions = {"vhd"};
    } else {
        m_extensions = {"v"};
        if (GetFileType() == zorpaFT_HDL) m_extensions.emplace_back("h");
    }
}

bool icmdImportAnyProjectFileFilters::IsSupported(Imodel* model, bool) const
{
    return model && !model->IsWizardInstance();
}

bool icmdImportModelSimIniFileFilters::IsSupported(Imodel* model, bool report) const
{
    return model && !model->IsWizardInstance() && ImportFileFilters::IsSupported(model, report);
}

bool icmdImportConstraintFileFilters::IsSupported(Imodel* model, bool report) const
{
    if (!ImportFileFilters::IsSupported(model, report)) return false;
    const std::string family = model->GetDeviceManager()->GetDevice().GetFamily();
    const std::string extension = GetExts().empty() ? std::string() : GetExts().front();
    if (!family.empty() && !extension.empty() && ImodelIsConstraintFileSupported(extension.c_str(), family))
        return true;
    if (report) {
        std::string upper = extension;
        ImodelMakeUpper(upper);
        ImodelDisplayIMPORT_CONSTRAINT_NOT_SUPPORTED_MSG(GetFilterType().c_str(), upper.c_str());
    }
    return false;
}

// --- the table of kinds ---------------------------------------------------------------------------

void IcmdImportFiles::BuildFilters()
{
    const auto add = [this](Filter filter) { m_filters.push_back(std::move(filter)); };
    const bool mixed = ImodelIsMixedHDLEnabled();
    if (!m_linkMode) {
        add(boost::make_shared<icmdImportVDFileFilters>(zorpaFT_SCH, "schematic", "Schematics", this));
        add(boost::make_shared<icmdImportVDFileFilters>(zorpaFT_SYM, "symbol", "Symbols", this));
    }
    if (mixed) {
        add(boost::make_shared<ImportFileFilters>(zorpaFT_HDL, "hdl_source", "HDL Source Files",
                                                  Extensions{"vhd", "v", "h"}, ideHDLEDITOR, this));
    } else {
        add(boost::make_shared<icmdImportHDLFileFilters>(zorpaFT_HDL, "hdl_source", "HDL Source Files", this));
    }
    if (!m_linkMode) {
        if (ImodelIsVeyrunEnabled())
            add(boost::make_shared<ImportFileFilters>(zorpaFT_OMBRIX_CXF, "cxf", "Components", "cxf", ideOMBRIX, this));
        add(boost::make_shared<ImportFileFilters>(zorpaFT_GEN, "kiltora_core", "Kiltora Cores", "gen", ideOMBRIX,
                                                  this));
        add(boost::make_shared<ImportFileFilters>(zorpaFT_OMBRIX_CXF, "qvp", "Dremmet 1.0 to 1.2 Projects", "qvp",
                                                  ideOMBRIX, this));
    }
    if (mixed) {
        add(boost::make_shared<ImportFileFilters>(zorpaFT_TB_HDL, "stimulus", "Stimulus Files", Extensions{"vhd", "v"},
                                                  ideHDLEDITOR, this));
    } else {
        add(boost::make_shared<icmdImportHDLFileFilters>(zorpaFT_TB_HDL, "stimulus", "Stimulus Files", this));
    }
    if (!m_linkMode) {
        std::string waveFormer;
        DefGetStrFL("IDE_TB_EXT", waveFormer, __FILE__, __LINE__);
        if (!waveFormer.empty())
            add(boost::make_shared<ImportFileFilters>(zorpaFT_BTIM, "wf_stimulus", "WaveFormer Stimulus Files",
                                                      waveFormer, ideSTIMULUS, this));
        add(boost::make_shared<ImportFileFilters>(zorpaFT_SYN_EDN, "edif", "EDIF Netlists", "edn", ideSYNTHESIS, this));
        const Filter gate =
            boost::make_shared<ImportFileFilters>(zorpaFT_SYN_EDN, "gate", "EDIF Netlists", "edn", ideSYNTHESIS, this);
        gate->SetDepreciated();
        add(gate);
    }
    // The place-and-route tool's library of this build links no constraint
    // files: the link variant offers no constraint kind.
    if (!m_linkMode) {
        std::vector<ConstraintType> kinds;
        ImodelGetConstraintList(kinds, imodelIMPORT_CONSTRAINT_FILES, std::string());
        for (const ConstraintType& kind : kinds)
            add(boost::make_shared<icmdImportConstraintFileFilters>(static_cast<zorpaFileManagerTypes>(kind.type),
                                                                    kind.extension, kind.displayName + "s",
                                                                    kind.extension, this));
    }
    add(boost::make_shared<ImportFileFilters>(zorpaFT_VCD, "vcd", "VCD Files", "vcd", ideSIMULATION, this));
    if (m_linkMode) return;
    add(boost::make_shared<ImportFileFilters>(zorpaFT_SAIF, "saif", "SAIF Files", "saif", ideSIMULATION, this));
    const Filter simulation =
        boost::make_shared<ImportFileFilters>(zorpaFT_SIM, "simulation", "Simulation Files",
                                              Extensions{"mem", "bfm", "dat", "txt", "do"}, ideSIMULATION, this);
    simulation->AddSpecialFileType("do", zorpaFT_DO);
    add(simulation);
    int ipCores = -1;
    DefGetIntFL("IDE_DISPLAY_IPCORES", &ipCores, __FILE__, __LINE__);
    if (ipCores != 0)
        add(boost::make_shared<icmdImportAnyProjectFileFilters>(zorpaFT_QVZ, "qvz", "IP Cores", Extensions{"qvz"},
                                                                this));
    add(boost::make_shared<icmdImportAnyProjectFileFilters>(zorpaFT_PROFILES, "profiles", "Tool Profiles",
                                                            Extensions{"ini"}, this));
    add(boost::make_shared<icmdImportModelSimIniFileFilters>(zorpaFT_MODELSIM_INI, "modelsim_ini", "ModelSim Ini",
                                                             "ini", this));
    add(boost::make_shared<icmdImportAnyProjectFileFilters>(zorpaFT_TEMPLATES, "templates", "Templates",
                                                            Extensions{"vhd", "v"}, this));
}

// --- the command's queries ---------------------------------------------------------------------

IcmdImportFiles::Filters IcmdImportFiles::GetOfferedFilters() const
{
    Filters offered;
    for (const Filter& filter : m_filters)
        if (filter->IsSupported(m_model, false) && !filter->IsDepreciated()) offered.push_back(filter);
    return offered;
}

bool IcmdImportFiles::GetImportFilesFilter(std::string& filter, Filters& kinds) const
{
    filter.clear();
    kinds = GetOfferedFilters();
    for (const Filter& kind : kinds) kind->AppendFilter(filter);
    if (!filter.empty()) filter += "|";
    return !filter.empty();
}

bool IcmdImportFiles::GetOpenFilesFilter(std::string& filter, Filters& kinds) const
{
    filter.clear();
    kinds.clear();
    for (const Filter& kind : GetOfferedFilters()) {
        if (!kind->IsEditable()) continue;
        kind->AppendFilter(filter);
        kinds.push_back(kind);
    }
    const Filter any = boost::make_shared<ImportFileFilters>(zorpaFT_UNKNOWN, "any", "All Files", "*", ideHDLEDITOR,
                                                             const_cast<IcmdImportFiles*>(this));
    any->AppendFilter(filter);
    kinds.push_back(any);
    filter += "|";
    return true;
}

IcmdImportFiles::Filter IcmdImportFiles::GetImportFileFilter(zorpaFileManagerTypes type) const
{
    for (const Filter& kind : GetOfferedFilters())
        if (kind->IsSupportedType(type)) return kind;
    return Filter();
}

bool IcmdImportFiles::GetFileFilter(zorpaFileManagerTypes type, std::string& filter) const
{
    const Filter kind = GetImportFileFilter(type);
    if (!kind) return false;
    kind->AppendFilter(filter);
    return true;
}

bool IcmdImportFiles::IsSupportedType(zorpaFileManagerTypes type) const { return GetImportFileFilter(type) != nullptr; }

std::string IcmdImportFiles::CreateExtStrList(zorpaFileManagerTypes type, const int* group) const
{
    const bool byGroup = group && (*group == zorpaFT_GROUP_CONSTRAINT || *group == zorpaFT_GROUP_SIMULATION);
    Extensions extensions;
    for (const Filter& kind : GetOfferedFilters()) {
        const bool matches = byGroup ? ImodelGetGlobalType(kind->GetFileType()) == *group : kind->GetFileType() == type;
        if (!matches) continue;
        if (kind->UseCreateExtStrListForDisplay()) return kind->CreateExtStrList();
        const Extensions& own = kind->GetUpdatedExts();
        extensions.insert(extensions.end(), own.begin(), own.end());
    }
    return ListText(extensions);
}

bool IcmdImportFiles::AddFileObject(const IfileObject& file)
{
    const Filters offered = GetOfferedFilters();
    const std::string extension = file.GetExt();
    for (const Filter& kind : offered)
        if (kind->IsSupportedType(file.GetFileType()) && kind->IsValidExt(extension))
            return kind->AddFileObject(file.GetFullFileName());
    // The kind of its type takes it whatever its extension; the import says
    // what is wrong with it.
    const Filter kind = GetImportFileFilter(file.GetFileType());
    return kind && kind->AddFileObject(file.GetFullFileName());
}

bool IcmdImportFiles::AddAllFiles(const std::deque<IfileObjectEx>& files)
{
    bool all = true;
    for (const IfileObjectEx& file : files) {
        if (AddFileObject(file)) continue;
        all = false;
        // Left out unseen otherwise: the command's checks see only the
        // kinds that were given files.
        if (!GetImportFileFilter(file.GetFileType()))
            ImodelDisplayIMPORT_NOT_SUPPORTED_MSG(file.GetFileTitleAndExt().c_str());
    }
    return all;
}

// organize_cdbs: the order of a module's ARM database files for place and
// route.
#include "icmd/organize/IcmdOrganizeCDBs.h"

#include "src/icmd/organize/icmdOrganizeLists.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>

#include <unordered_set>

using namespace icmdOrganizeLists;

IcmdOrganizeCDBs::IcmdOrganizeCDBs()
    : IcmdBase(false), m_file(this, true, true, true, Model().IsLinkingEnabled()), m_module(this, true, false)
{
}

IcmdOrganizeCDBs::~IcmdOrganizeCDBs() = default;

void IcmdOrganizeCDBs::SetParams(const std::vector<boost::shared_ptr<IfileObjectEx>>& files, ImodelModule* module)
{
    m_file.SetFileObjects(files);
    m_module.SetObject(module);
}

AcmdEnum::Result IcmdOrganizeCDBs::checkParams()
{
    ImodelModule* module = m_module.GetObject();
    if (!module) return AcmdEnum::Success;
    std::deque<IfileObject> associated;
    ImodelGetChildAssociatedFiles(module, zorpaFT_ARM_DB, associated, nullptr, true, nullptr);
    std::unordered_set<std::string> known;
    for (const IfileObject& file : associated) known.insert(ImodelFileNameKey(file.GetInternalFileName()));
    for (const Entry& file : m_file.GetObjects())
        if (file && known.count(KeyOf(file)) == 0)
            SysDebugPrintf("%s won't be passed to Pallador\n", file->GetFileTitleAndExt().c_str());
    return AcmdEnum::Success;
}

AcmdEnum::Result IcmdOrganizeCDBs::execDo()
{
    ImodelModule* module = m_module.GetObject();
    if (!module) {
        ImodelDisplayORGANIZE_NO_MODULE_MSG(GetName().c_str());
        return AcmdEnum::Failure;
    }
    module->SetCDBOrder(SimpleObjects(Unique(m_file.GetObjects())), true);
    return AcmdEnum::Success;
}

#include "src/imodel/views/imodelLayoutListFollows.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessManager.h"
#include "itool/ItoolPallador.h"

#include <foundation/Sys.h>
#include <kemlet/KemletIde_pldFileManagerIf.h>

#include <vector>

namespace {

// Netlists and HDL sources: what the database is built from, not part of
// the list the user orders.
bool IsBuiltFrom(const KemletFileRecord& record) { return record.kind >= 0 && record.kind <= 2; }

// The description of the database `unit` uses in `view`, when there is one
// that belongs to it.
bool ReadListOf(IprocessFileObject& databases, ImodelModule* unit, ImodelRevContextImpl* view,
                boost::shared_ptr<IfileObjectEx>& database, KemletContentIf& content)
{
    database = databases.GetFileManagerObject(unit, view, true, false, true);
    if (!database) return false;
    const std::string name = database->GetFullFileName().GetString();
    const KemletIde_pldFileManagerIf description(name, KemletWriterProjectManager, nullptr);
    return UtlDoesFileExist(description.GetFileName()) && description.Read(&content) && content.IsContentOf(name);
}

void CarryView(IprocessFileObject& databases, const boost::shared_ptr<IfileObjectEx>& old,
               const KemletContentIf& carried, ImodelModule* toUnit, ImodelRevContextImpl* toView)
{
    const boost::shared_ptr<IfileObjectEx> now = databases.GetFileManagerObject(toUnit, toView, true, false, true);
    if (!now || *old == *now) return;

    // The new description starts as the tool would start it (its own
    // netlist first) when there is none yet.
    const std::string nowName = now->GetFullFileName().GetString();
    if (ItoolPallador* layout = Imodel::GetInstance().GetPalladorTool())
        layout->EnsureFileListFile(now->GetFullFileName(), toUnit, toView);
    const KemletIde_pldFileManagerIf target = ItoolPalladorListFile(now->GetFullFileName());
    KemletContentIf content;
    const bool exists = UtlDoesDiskObjectExist(target.GetFileName());
    // A description that cannot be read, or one the user made read-only, is
    // left as it is; one of another database starts anew.
    if (exists && (!target.Read(&content) || SysHasReadOnlyAttr(target.GetFileName()))) return;
    if (!content.IsContentOf(nowName)) content = KemletContentIf();

    std::vector<KemletFileRecord> records;
    for (const KemletFileRecord& record : content.GetRecords())
        if (IsBuiltFrom(record)) records.push_back(record);
    for (const KemletFileRecord& record : carried.GetRecords())
        if (!IsBuiltFrom(record)) records.push_back(record);
    if (content.IsSameRecords(records) && content.GetOptionalFiles() == carried.GetOptionalFiles()) return;
    content.SetRecords(records);
    content.SetOptionalFiles(carried.GetOptionalFiles());
    target.Write(content);
}

}  // namespace

void imodelCarryLayoutLists(const ImodelContextImpl& from, const ImodelContextImpl& to)
{
    ImodelModule* fromUnit = from.GetModule();
    ImodelModule* toUnit = to.GetModule();
    if (!fromUnit || !toUnit || fromUnit == toUnit || toUnit->IsSameModule(fromUnit->GetComponentID())) return;
    Imodel& model = Imodel::GetInstance();
    IprocessManager* processes = model.GetProcessManager();
    IprocessFileObject* databases = processes ? processes->GetFileObject(zorpaFT_ADB, toUnit) : nullptr;
    if (!databases) return;
    // The unit's views are looked at only for a list to carry: most units
    // have none, and their views are made only when first needed.
    for (ImodelRevContextImpl* view : from.GetAllRevs()) {
        boost::shared_ptr<IfileObjectEx> old;
        KemletContentIf carried;
        if (!view || !ReadListOf(*databases, fromUnit, view, old, carried)) continue;
        if (ImodelRevContextImpl* own = to.FindRevision(view->GetName()))
            CarryView(*databases, old, carried, toUnit, own);
    }
}

#include "ievent/IeventClasses.h"

#include "ifile/IfileManagerFunctions.h"

namespace {

// The project's entries of the files, in list order; files that are not in
// the project are left out.
std::vector<Ievent_FilesParent::Entry> ProjectEntries(const std::deque<IfileObject>& files)
{
    std::vector<Ievent_FilesParent::Entry> entries;
    IfileManagerGetRealObjects(files, entries, false);
    return entries;
}

}  // namespace

void IeventModuleAdded::Notify(IeventView* view)
{
    MarkModulesDisplayable();
    IeventWith::Notify(view);
}

IeventSelectionChanged::IeventSelectionChanged() : IeventSelectionChanged(static_cast<const VlnvCoreId*>(nullptr)) {}

IeventSelectionChanged::IeventSelectionChanged(ImodelModule* module)
    : Ievent_ModulesParent(module), Ievent_FilesParent(Entry()), Ievent_CoresParent(nullptr)
{
}

IeventSelectionChanged::IeventSelectionChanged(Entry file)
    : Ievent_ModulesParent(static_cast<ImodelModule*>(nullptr)), Ievent_FilesParent(std::move(file)),
      Ievent_CoresParent(nullptr)
{
}

IeventSelectionChanged::IeventSelectionChanged(const std::deque<IfileObject>& files)
    : Ievent_ModulesParent(static_cast<ImodelModule*>(nullptr)), Ievent_FilesParent(ProjectEntries(files)),
      Ievent_CoresParent(nullptr)
{
}

IeventSelectionChanged::IeventSelectionChanged(const VlnvCoreId* core)
    : Ievent_ModulesParent(static_cast<ImodelModule*>(nullptr)), Ievent_FilesParent(Entry()), Ievent_CoresParent(core)
{
}

ImodelModule* IeventSelectionChanged::GetModuleSelected() const
{
    return GetModules().empty() ? nullptr : GetModules().front();
}

IeventSelectionChanged::Entry IeventSelectionChanged::GetFileSelected() const
{
    return GetFiles().empty() ? Entry() : GetFiles().front();
}

bool IeventSelectionChanged::IsFileSelected() const { return GetFileSelected() != nullptr; }

bool IeventSelectionChanged::IsModuleSelected() const { return GetModuleSelected() != nullptr; }

bool IeventSelectionChanged::IsCoreSelected() const { return GetCore() != nullptr; }

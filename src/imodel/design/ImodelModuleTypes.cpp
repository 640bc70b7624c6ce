#include "imodel/design/ImodelModuleTypes.h"

#include "imodel/design/ImodelModule.h"
#include "itool/ItoolConstraintsManager.h"
#include "itool/ItoolVeyrun.h"
#include "itool/ItoolWithConstraints.h"

#include <algorithm>
#include <array>
#include <iterator>

std::string ImodelGetComponentTypeName(int kind) { return VyIfaces::GetModuleTypeName(kind); }

VyIfaces::IComponent* ImodelModule::GetComponent() const
{
    if (m_component == nullptr)
        if (ItoolVeyrun::GetInstance() != nullptr)
            m_component = ItoolVeyrun::FindComponent(const_cast<ImodelModule*>(this));
    return m_component;
}

ImodelGetAssociatedCstrsFtor::ImodelGetAssociatedCstrsFtor(ImodelFunctionType kind, ImodelModule* module)
    : ImodelGetChildsFtor(true, module), m_tool(ItoolConstraintsManager::GetTool(kind))
{
}

bool ImodelGetAssociatedCstrsFtor::operator()(const IfileObject& file) const
{
    if (file.GetFileGlobalType() != m_globalType) return false;
    if (m_tool == nullptr || GetCurModule() == GetStartModule()) return true;
    return m_tool->PassConstraintFilesToParentModules(file.GetExt());
}

std::size_t imodelSortFiles::Place(const IfileObject& file) const
{
    return static_cast<std::size_t>(std::distance(m_order->begin(), std::find(m_order->begin(), m_order->end(), file)));
}

bool imodelSortFiles::operator()(const IfileObject& a, const IfileObject& b) const { return Place(a) < Place(b); }

// --- the component kind of a unit -------------------------------------------------------

zorpaFileManagerTypes ImodelModule::GetComponentType() const
{
    const boost::shared_ptr<IfileObjectEx> file = GetModuleFile();
    return file ? file->GetFileTypeAsComponent() : zorpaFT_UNKNOWN;
}

int ImodelModule::GetVyModuleType(VyIfaces::IComponent* component)
{
    if (component == nullptr) return -1;
    GetComponentTypeVisitor visitor;
    component->Accept(visitor);
    return visitor.GetType();
}

int ImodelModule::GetVyModuleType() const
{
    if (VyIfaces::IComponent* component = GetComponent()) return GetVyModuleType(component);
    switch (GetComponentType()) {
    case zorpaFT_SCH:
        return VyIfaces::IComponent::Schematic;
    case zorpaFT_HDL:
        return VyIfaces::IComponent::HDL;
    case zorpaFT_OMBRIX_CXF:
        return VyIfaces::IComponent::Kiltora;
    default:
        return -1;
    }
}

std::string ImodelModule::GetComponentTypeStr() const { return ImodelGetComponentTypeName(GetVyModuleType()); }

std::string ImodelModule::GetComponentTypeStr(VyIfaces::IComponent* component)
{
    return ImodelGetComponentTypeName(GetVyModuleType(component));
}

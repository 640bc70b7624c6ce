#include "imodel/names/ImodelGetFullPathParam.h"

#include <boost/make_shared.hpp>

ImodelGetFullPathParam::ImodelGetFullPathParam(int revision) { SetRevision(revision); }

ImodelGetFullPathParam::ImodelGetFullPathParam(const std::string& component) { SetComponent(component); }

ImodelGetFullPathParam::ImodelGetFullPathParam(imodelSolvatoState state) { SetState(state); }

void ImodelGetFullPathParam::SetState(imodelSolvatoState state)
{
    m_state = boost::make_shared<imodelSolvatoState>(state);
}

void ImodelGetFullPathParam::SetRevision(int revision) { m_revision = boost::make_shared<int>(revision); }

void ImodelGetFullPathParam::SetComponent(const std::string& component)
{
    m_component = boost::make_shared<std::string>(component);
}

// ImodelGetFullPathParam: what decides a project folder besides the file
// type: an optional design state (simulation files), an optional revision
// (place-and-route view; the current one when absent) and an optional
// component name (component folders). Copies share the values.
#pragma once

#include "imodel/names/ImodelToolKinds.h"

#include <boost/shared_ptr.hpp>

#include <string>

class ImodelGetFullPathParam {
public:
    ImodelGetFullPathParam() = default;
    explicit ImodelGetFullPathParam(int revision);
    explicit ImodelGetFullPathParam(const std::string& component);
    explicit ImodelGetFullPathParam(imodelSolvatoState state);

    // Null when the parameter holds no such value.
    const imodelSolvatoState* GetState() const { return m_state.get(); }
    const int* GetRevision() const { return m_revision.get(); }
    const std::string* GetComponent() const { return m_component.get(); }

    void SetState(imodelSolvatoState state);
    void SetRevision(int revision);
    void SetComponent(const std::string& component);

private:
    boost::shared_ptr<imodelSolvatoState> m_state;
    boost::shared_ptr<int> m_revision;
    boost::shared_ptr<std::string> m_component;
};

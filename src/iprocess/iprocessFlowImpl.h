// A flow. Its graph and its state machines are built by the design-flow
// work; until then the flow has a name and no node.
#pragma once

#include "iprocess/IprocessFlow.h"

class iprocessFlowImpl : public IprocessFlow {
public:
    explicit iprocessFlowImpl(const std::string& name) : m_name(name) {}

    std::string GetName() const override { return m_name; }
    IprocessFileObject* GetFileObject(zorpaFileManagerTypes) override { return nullptr; }
    IprocessToolObject* GetToolObject(ImodelFunctionType) override { return nullptr; }

private:
    std::string m_name;
};

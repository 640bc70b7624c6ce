// The block-design engine of an open design: it knows which design it
// draws.
#pragma once

#include <string>

class VyengineCore {
public:
    explicit VyengineCore(std::string designName) : m_designName(std::move(designName)) {}
    // The name of the design the engine draws; empty when it draws none.
    const std::string& GetDesignName() const { return m_designName; }

private:
    std::string m_designName;
};

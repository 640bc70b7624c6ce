// A repository the user registered through the IP-repository command
// library: the library's repository object is its plug-in. It is reloaded,
// never removed, by a re-create.
#pragma once

#include "imodel/cores/ImodelRepository.h"

class ImodelUserRepository : public ImodelRepository {
public:
    ImodelUserRepository(const char* name, boost::shared_ptr<IIpRepository> userRepository);

    bool IsUserRepository() override { return true; }
    std::string GetLocation() const override;
    void CreateNewPlugin(const std::string& name) override;
    bool LoadPlugin() override;
    std::string GetGotFromText() const override;
    void Accept(ImodelRepVisitor& visitor) override;

private:
    boost::shared_ptr<IIpRepository> m_userRepository;
};

// create_links: import_files in link mode. The files stay where they are;
// the project takes them as links, read-only in the environment, and parses
// them. Only the kinds a link can be made of are offered.
//
//   create_links -hdl_source {/shared/ip/x.vhd ...} ...
#pragma once

#include "icmd/files/IcmdImportFiles.h"

#include <memory>
#include <string>

class IcmdCreateLink : public IcmdImportFiles {
public:
    explicit IcmdCreateLink(Imodel* model) : IcmdImportFiles(model, true) {}

    std::string GetName() const override { return "create_links"; }
    // Stays in link mode, on the prototype's model.
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdCreateLink>(GetModel()); }
};

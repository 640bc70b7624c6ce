// The place-and-route tool object. Its constraint-file lists, database file
// lists and project information come with the place-and-route work: until
// then it reads no database and leaves back-annotated states alone.
#pragma once

#include "imodel/names/ImodelProcess.h"
#include "itool/ItoolPallador.h"

class itoolPalladorImpl : public ItoolPallador {
public:
    itoolPalladorImpl() = default;

    bool GetToolFileKind(int& kind) override
    {
        kind = 3;
        return true;
    }
    std::string GetToolKey() override { return "PALLADOR"; }
    void GetDefaultExtensions(std::vector<std::string>& extensions) override
    {
        ImodelGetDefStrs("PALLADOR_IMPORT_CONSTRAINT_FILES", extensions);
    }
    bool GetDatabaseInputFiles(const IfileObject&, std::deque<IfileObject>& inputs, std::string& designName) override
    {
        inputs.clear();
        designName.clear();
        return false;
    }
    bool CheckBackAnnotatedFileState(ImodelModule*, imodelFileState&) override { return false; }
    // No database is read yet: nothing recorded can be compared.
    int GetAdbFileList(const ImodelFileName&, ImodelModule*, ImodelContextImpl*, std::deque<IfileObject>& out) override
    {
        out.clear();
        return 1;
    }
};

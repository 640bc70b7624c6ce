// The base of the tests of revision contexts, tool states and
// physical-synthesis options: a fresh project folder for the process-wide
// model, files in it, and a look at the need-save flag. The folder, the flag
// and the debug print are put back afterwards.
#pragma once

#include "TempFolder.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ContextTestProject : public ::testing::Test {
protected:
    ContextTestProject() : m_oldFolder(Design().GetProjectFolder()) { Design().SetProjectFolder(m_folder.Path()); }
    ~ContextTestProject() override
    {
        Design().SetProjectFolder(m_oldFolder);
        Design().SetNeedSave(false);
    }

    static ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

    // A file of the project folder, by its name below it.
    static IfileObject File(const std::string& name, zorpaFileManagerTypes type)
    {
        return IfileObject("<project>/" + name, type, ImodelFMInternal, true, true);
    }
    // The same as a member of the project, or as a file the project does not hold.
    static boost::shared_ptr<IfileObjectEx> Entry(const std::string& name, zorpaFileManagerTypes type, bool member)
    {
        auto entry = boost::make_shared<IfileObjectEx>(File(name, type), false);
        if (member) entry->SetFileState(imodelFileUpToDate);
        return entry;
    }

    // Whether `change` set the need-save flag, which is cleared first.
    template <typename Change>
    static bool MarksNeedSave(Change change)
    {
        Design().SetNeedSave(false);
        change();
        return Design().GetNeedSave();
    }

    TempFolder m_folder;

private:
    ImodelFileName m_oldFolder;
};

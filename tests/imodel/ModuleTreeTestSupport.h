// Helpers of the lookup, root and tree tests: a design that starts with an
// empty "work" library, units put into its libraries, member files kept alive
// for the test, and hierarchies of units owned by the test.
#pragma once

#include "ModuleTestSupport.h"

#include <boost/shared_ptr.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

// Starts and ends with a design whose only library is an empty "work".
class DesignFixture : public ModuleFixture {
protected:
    void SetUp() override
    {
        ModuleFixture::SetUp();
        Design().Reset();
    }
    void TearDown() override
    {
        Design().Reset();
        ModuleFixture::TearDown();
    }

    // A member file of that full name, alive for the rest of the test.
    boost::shared_ptr<IfileObjectEx> File(const std::string& name, const std::string& library = "work")
    {
        boost::shared_ptr<IfileObjectEx> file = MakeFile(name);
        file->SetLibraryName(library);
        m_files.push_back(file);
        return file;
    }

    // A unit put into the library (made when missing), which owns it from
    // then on: the next Reset deletes it.
    ImodelModule* AddUnit(const std::string& library, const std::string& name,
                          boost::shared_ptr<IfileObjectEx> file = nullptr, zorpaModuleTypes kind = zorpaMODULE_VHDL,
                          bool isPackage = false)
    {
        const auto [unit, inserted] =
            Design().AddLibrary(library, false)->GetModules()->Insert(MakeModule(name, file, kind, isPackage, library));
        if (!inserted) ADD_FAILURE() << "a unit equal to " << name << " is already in " << library;
        return inserted ? unit : nullptr;
    }

private:
    std::vector<boost::shared_ptr<IfileObjectEx>> m_files;
};

// Units owned by a test and linked by name: Link("a", "b") makes b a
// sub-block of a, each made (VHDL, library "work", no file) when missing.
class Hierarchy {
public:
    ImodelModule* Unit(const std::string& name, zorpaModuleTypes kind = zorpaMODULE_VHDL, bool isPackage = false)
    {
        std::unique_ptr<ImodelModule>& unit = m_units[name];
        if (!unit) unit = MakeModule(name, nullptr, kind, isPackage);
        return unit.get();
    }
    Hierarchy& Link(const std::string& parent, const std::string& sub)
    {
        Unit(parent)->AddSubBlock(Unit(sub), false);
        return *this;
    }
    // A list of units by name, for the walks that start from a list.
    std::deque<ImodelModule*> List(const std::vector<std::string>& names)
    {
        std::deque<ImodelModule*> list;
        for (const std::string& name : names) list.push_back(Unit(name));
        return list;
    }

private:
    std::map<std::string, std::unique_ptr<ImodelModule>> m_units;
};

// load_test_unit: puts one design unit into the open project's design, as
// parsing its file would, for the scenario scripts of the commands that work
// on design units. A command of the tests only (the echo package):
//   load_test_unit -name <unit> [-file <path>] [-library <lib>] [-package]
//                  [-parent <unit[::library]>]... [-readonly]
// The file (made empty when missing) becomes a member file of the unit's
// library, marked read-only in the project with -readonly; without -file
// the unit has no file. The unit is linked below each parent named.
#include "UnitLoaderCommand.h"

#include "icmd/args/IcmdComponentIDText.h"
#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <foundation/AcmdManager.h>
#include <foundation/AcmdMessages.h>
#include <foundation/Mdb.h>
#include <foundation/Sys.h>

#include <vector>

UnitLoaderCommand::UnitLoaderCommand()
    : IcmdBase(false), name("name", this, AcmdValueType::Single(), true, "unit", "", true),
      file("file", this, AcmdValueType::Single(), false, "file", ""),
      library("library", this, AcmdValueType::Single(), false, "library", "work", false),
      package("package", this, AcmdValueType::Single(), false, false, "package"),
      parents("parent", this, AcmdValueType::RepeatList(), false, "parent", "", false),
      readOnly("readonly", this, AcmdValueType::Single(), false, false, "read-only in the project")
{
}

AcmdEnum::Result UnitLoaderCommand::execDo()
{
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    std::vector<ImodelModule*> above;
    for (const std::string& text : parents.GetObjects()) {
        ImodelModule* parent = ImodelFindModule(IcmdReadComponentID(text));
        if (parent == nullptr) {
            AcmdDisplayArgNotFoundErrorMessage("parent", text);
            return AcmdEnum::Failure;
        }
        above.push_back(parent);
    }
    boost::shared_ptr<IfileObjectEx> entry;
    if (!file.GetObject().empty()) {
        const std::string path = AcmdGetFullPath(file.GetObject(), AcmdManager::GetInstance().GetCurrentFolder());
        const std::string folder = path.substr(0, path.rfind('/'));
        if (!UtlDoesFileExist(path) && (!UtlValidateOrCreateFolder(folder) || !SysWriteFileAtomically(path, "")))
            return AcmdEnum::Failure;
        IfileObjectEx member(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, true, true), false);
        member.SetLibraryName(library.GetObject());
        if (readOnly.GetObject()) member.SetIDEReadOnly(true);
        entry = Imodel::GetInstance().GetFileManager()->AddOrUpdateFile(member, false);
    }
    const ImodelDesignManager::LibraryPtr into = design.AddLibrary(library.GetObject(), true);
    auto made = std::make_unique<ImodelModule>(name.GetObject(), entry, zorpaMODULE_VHDL, package.GetObject(),
                                               library.GetObject(), "", false);
    const auto [unit, inserted] = into->GetModules()->Insert(std::move(made));
    if (!inserted) {
        const std::string text = name.GetObject() + " is in " + library.GetObject() + " already.";
        MdbOutput(0, nullptr, "Test", "UNIT_EXISTS", MdbERROR, MdbLINE, text.c_str(), 0, 0);
        return AcmdEnum::Failure;
    }
    for (ImodelModule* parent : above) parent->AddSubBlock(unit, true);
    const auto [first, last] = design.GetLibraries();
    for (auto each = first; each != last; ++each) design.UpdateTopModules(*each);
    return AcmdEnum::Success;
}

#include "icmd/files/IcmdAddLibrary.h"

#include "icmd/IcmdDoCommand.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "src/icmd/files/IcmdLibraryFiles.h"

IcmdAddLibrary::IcmdAddLibrary()
    : IcmdBase(false), m_library("library", this, AcmdValueType::Single(), true, "library name", "work", false)
{
}

IcmdAddLibrary::~IcmdAddLibrary() = default;

int IcmdAddLibrary::SetLibraryName(std::string name)
{
    m_library.SetObject(std::move(name));
    return 0;
}

AcmdEnum::Result IcmdAddLibrary::execDo()
{
    const std::string name = m_library.GetObject();
    // "work" is every project's own library: it cannot be made again.
    if (name.empty() || name == "work") return AcmdEnum::Failure;
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    const bool existed = design.FindLibraryByName(name) != nullptr;
    // A name the project file could not hold back would be lost at the next
    // save, or break the file.
    if (!existed && !IcmdCheckLibraryName(name)) return AcmdEnum::Failure;
    if (!design.AddLibrary(name, true)) return AcmdEnum::Failure;
    if (!existed) design.SetNeedSave(true);
    return AcmdEnum::Success;
}

bool IcmdDoAddLibrary(bool keep, const std::string& name)
{
    auto command = std::make_unique<IcmdAddLibrary>();
    command->SetLibraryName(name);
    return IcmdDoCommand(std::move(command), keep);
}

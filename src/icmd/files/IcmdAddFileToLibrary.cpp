#include "icmd/files/IcmdAddFileToLibrary.h"

#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/files/IcmdDeleteFilesFromModel.h"
#include "icmd/scan/IcmdParseFile.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelMessages.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "itool/ItoolVeyrun.h"
#include "src/icmd/files/IcmdLibraryFiles.h"

#include <foundation/UtlAscii.h>

#include <string>
#include <unordered_set>
#include <vector>

namespace {

// The block-design component the file belongs to: that of its topmost
// parent file, else, for a core generator's description, the one it defines.
VyIfaces::IComponent* ComponentOf(const IfileObjectEx& file)
{
    if (const boost::shared_ptr<IfileObjectEx> top = file.GetSingleTopLevelParentFileObject())
        if (VyIfaces::IComponent* component = ItoolVeyrun::FindSingleComponentFromDefFile(*top)) return component;
    if (file.GetFileSpecificType() == zorpaFT_OMBRIX_CXF) return ItoolVeyrun::FindSingleComponentFromDefFile(file);
    return nullptr;
}

// The units whose file-dependent states a move may have changed, for the
// flow to work out again, as an open of the saved project does: the units
// the moved files define now, which took the data of their former units,
// states included, and the units they instantiate (a placeholder made for
// an instance in the new library); and every unit of a name that moved, in
// any library (a unit of the library gone to that took the data of a unit
// of its name, a placeholder or another file's unit left in the former
// place). Any other unit's files and flow are as they were, and so are its
// states: asking the flow of every unit would cost a walk of the whole
// design per call.
class MovedUnits {
public:
    // Before the file leaves its library.
    void Moving(const boost::shared_ptr<IfileObjectEx>& file)
    {
        for (const ImodelModule* unit : ImodelUnitsOfFile(file)) AddName(*unit);
        m_files.push_back(file);
    }

    void Restate()
    {
        QuorlaneStateMachine* flow = Imodel::GetInstance().GetStateMachine();
        if (!flow || m_files.empty()) return;
        std::vector<ImodelModule*> units;
        std::unordered_set<const ImodelModule*> listed;
        const auto add = [&](ImodelModule* unit) {
            if (unit != nullptr && listed.insert(unit).second) units.push_back(unit);
        };
        for (const boost::shared_ptr<IfileObjectEx>& file : m_files) {
            for (ImodelModule* unit : ImodelUnitsOfFile(file)) {
                AddName(*unit);
                add(unit);
                if (const ImodelLinkList* subBlocks = unit->GetSubBlocks())
                    for (ImodelModule* sub : *subBlocks) add(sub);
            }
        }
        // Each library is searched by name, not walked: a design has few
        // libraries and many units.
        const auto [firstLibrary, lastLibrary] = Imodel::GetInstance().GetDesignManager()->GetLibraries();
        for (auto at = firstLibrary; at != lastLibrary; ++at) {
            if (!*at || !(*at)->GetModules()) continue;
            for (const std::string& name : m_names) {
                const auto [first, last] = (*at)->GetModules()->equal_range(ZorpaUnitName{name});
                for (auto unit = first; unit != last; ++unit) add(*unit);
            }
        }
        for (ImodelModule* unit : units) flow->UpdateFileDependentStatesForModule(unit);
    }

private:
    void AddName(const ImodelModule& unit)
    {
        const std::string& name = unit.GetUnitOrder().name;
        if (m_nameSet.insert(name).second) m_names.push_back(name);
    }

    std::vector<boost::shared_ptr<IfileObjectEx>> m_files;
    std::unordered_set<std::string> m_nameSet;
    std::vector<std::string> m_names;
};

}  // namespace

IcmdAddFileToLibrary::IcmdAddFileToLibrary()
    : IcmdBase(false), m_library("library", this, AcmdValueType::Single(), true, "library name", "work", false),
      m_file(this, true, true, true, Imodel::GetInstance().IsLinkingEnabled())
{
}

IcmdAddFileToLibrary::~IcmdAddFileToLibrary() = default;

int IcmdAddFileToLibrary::SetLibraryName(std::string name)
{
    m_library.SetObject(std::move(name));
    return 0;
}

void IcmdAddFileToLibrary::SetFileObjects(const std::vector<boost::shared_ptr<IfileObjectEx>>& files)
{
    m_file.SetFileObjects(files);
}

AcmdEnum::Result IcmdAddFileToLibrary::doParseFile(const boost::shared_ptr<IfileObjectEx>& file)
{
    IcmdParseFile parse;
    parse.SetFile(file);
    return parse.execDo();
}

AcmdEnum::Result IcmdAddFileToLibrary::execDo()
{
    const std::string library = m_library.GetObject();
    if (library.empty()) return AcmdEnum::Failure;
    // Checked before any file leaves the design for it.
    if (!IcmdCheckLibraryName(library)) return AcmdEnum::Failure;
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    AcmdEnum::Result result = AcmdEnum::Success;
    bool coreTold = false;
    IcmdUnitsFollowTheirFiles units;
    MovedUnits moved;
    std::vector<VyIfaces::IComponent*> components;
    for (const boost::shared_ptr<IfileObjectEx>& file : m_file.GetObjects()) {
        if (!file) continue;
        if (const VyIfaces::IComponent* component = ComponentOf(*file)) {
            // A core's files keep the library the core gave them.
            if (!coreTold) ImodelDisplayUNABLE_TO_MOVE_CORE_MSG(component->GetComponentID().name.c_str());
            coreTold = true;
            continue;
        }
        if (UtlIsSameNoCase(file->GetLibraryName(), library)) continue;
        // A file gone from disk cannot be parsed in its new library: taken
        // out of the design for the move, it would leave the project, and
        // its units with it.
        if (!IcmdIsOnDisk(*file)) {
            ImodelDisplayLIBRARY_MOVE_FILE_MISSING_MSG(file->GetFullFileName().c_str(), library.c_str(),
                                                       file->GetLibraryName().c_str());
            result = AcmdEnum::Failure;
            continue;
        }
        moved.Moving(file);
        if (design.FindLibraryByName(file->GetLibraryName())) {
            units.Keep(file);
            IcmdDoDeleteFileFromModel(file, true, true, true, &components);
        }
        file->SetLibraryName(library);
        IcmdDoAddFileToModel(*file, true, true, false, nullptr, nullptr, true, nullptr, true, true, &components);
        components.clear();
    }
    units.GiveBack(library);
    // The units parsed again in their new library took their former
    // states along.
    moved.Restate();
    return result;
}

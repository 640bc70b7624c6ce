// What the scenario scripts cannot reach of the dumps: the components of a
// core workspace with components, and the in-process dump of the libraries.
#include "IcmdTestSupport.h"
#include "RecordingHost.h"

#include "icmd/design/IcmdDumpComponents.h"
#include "icmd/design/IcmdDumpLibrary.h"
#include "icmd/design/IcmdOpenConstraintsEditor.h"
#include "imodel/device/ImodelDevice.h"

#include <ktwkspace/Workspace.h>
#include <ulv/VlnvCoreId.h>
#include <zorpa/ZorpaModule.h>

namespace {

using Ktwkspace::WorkspaceComponentRecord;

class ContentDumpTest : public IcmdWorkspaceTest {
protected:
    static VyIfaces::IComponent* Component(const std::string& name, const std::string& library,
                                           VyIfaces::IComponent::VyModuleType type, int state)
    {
        WorkspaceComponentRecord record;
        record.id = VyIfaces::ComponentID(name, library, "");
        record.type = type;
        record.state = state;
        record.definitionFile = "/cores/" + name + ".cxf";
        record.family = "ZX3";
        record.die = "ZX3-10";
        return Workspace().AddComponent(record);
    }

    static std::string Run(TclcmdDumpBaseCmd& command)
    {
        EXPECT_EQ(Manager().Run(&command, false), AcmdEnum::Success);
        return command.GetResultMsg();
    }
};

}  // namespace

TEST_F(ContentDumpTest, ComponentsComeByUpperCasedNameThenLibraryWithTheirStates)
{
    Component("b", "work", VyIfaces::IComponent::Veyrun, 0);
    Component("A", "work", VyIfaces::IComponent::Kiltora, 1);
    Component("a", "lib0", VyIfaces::IComponent::GenericCore, 2);
    Component("c", "work", VyIfaces::IComponent::UserIP, 7);
    IcmdDumpComponents dump;
    EXPECT_EQ(Run(dump), "Component: a\n"
                         "   IXF File: \n"
                         "   Def File: /cores/a.cxf\n"
                         "   Type: Unknown\n"
                         "   Library: lib0\n"
                         "   State: OUTOFDATE\n"
                         "\n"
                         "Component: A\n"
                         "   IXF File: \n"
                         "   Def File: /cores/A.cxf\n"
                         "   Type: Kiltora\n"
                         "   Library: work\n"
                         "   State: SAVED\n"
                         "\n"
                         "Component: b\n"
                         "   IXF File: \n"
                         "   Def File: /cores/b.cxf\n"
                         "   Type: Veyrun\n"
                         "   Library: work\n"
                         "   State: GENERATED\n"
                         "\n"
                         "Component: c\n"
                         "   IXF File: \n"
                         "   Def File: /cores/c.cxf\n"
                         "   Type: UserIP\n"
                         "   Library: work\n"
                         "   State: NOTREADY\n");
}

TEST_F(ContentDumpTest, TheLibraryDumpShowsPackagesForeignUnitsAndFileTitlesAndEntersNoCycle)
{
    const auto unit = [](const std::string& name, const std::string& definedIn, bool isPackage,
                         const boost::shared_ptr<IfileObjectEx>& file) {
        auto made = std::make_unique<ImodelModule>(name, file, zorpaMODULE_VHDL, isPackage, definedIn, "", false);
        return Design().AddLibrary("work", false)->GetModules()->Insert(std::move(made)).first;
    };
    ImodelModule* top = unit("top", "work", false, AddProjectFile("rtl/top.vhd"));
    ImodelModule* pkg = unit("pkg", "lib1", true, AddProjectFile("pkg.vhd"));
    ImodelModule* loop = unit("loop", "work", false, nullptr);
    top->AddSubBlock(pkg, false);
    top->AddSubBlock(loop, false);
    loop->AddSubBlock(loop, false);  // a unit that instantiates itself
    Design().AddLibrary("empty", false);
    const ImodelDesignManager::LibraryRange libraries = Design().GetLibraries();
    for (auto library = libraries.first; library != libraries.second; ++library) Design().UpdateTopModules(*library);

    IcmdDumpLibrary dump;
    EXPECT_EQ(Run(dump), "work\n"
                         "   top (top.vhd)\n"
                         "      Package: pkg [lib1] (pkg.vhd)\n"
                         "      loop (?)\n"
                         "         loop (?)\n"
                         "empty");
}

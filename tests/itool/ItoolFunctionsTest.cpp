// The functions the flow tools share: default positions in a constraint
// order, the extensions a tool accepts, who made a file, and whether a
// tool can run.
#include "FlowProject.h"
#include "MessageRecorder.h"

#include "iprocess/IprocessTransition.h"
#include "itool/ItoolConstraintsManager.h"
#include "itool/ItoolFunctions.h"
#include "itool/QuorlaneCoreToolManager.h"
#include "src/itool/itoolCreator.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Entries = std::vector<boost::shared_ptr<IfileObjectEx>>;

class ItoolFunctionsTest : public FlowProject {
protected:
    // A file of each order kind: 0 a netlist, 2 the synthesis constraint
    // file, 3 a physical-synthesis constraint file, 4 anything else.
    static IfileObject OfKind(int kind, const std::string& title)
    {
        static const zorpaFileManagerTypes types[] = {zorpaFT_SYN_EDN, zorpaFT_UNKNOWN, zorpaFT_SYN_SDC,
                                                      zorpaFT_ZEVORU_PDC, zorpaFT_TXT};
        return IfileObject("/design/" + title, types[kind], ImodelFMFull, false, false);
    }
    static std::deque<IfileObject> ListOfKinds(std::initializer_list<int> kinds)
    {
        std::deque<IfileObject> list;
        for (int kind : kinds) list.push_back(OfKind(kind, "f" + std::to_string(list.size())));
        return list;
    }
    static std::vector<std::string> Titles(const Entries& files)
    {
        std::vector<std::string> titles;
        for (const auto& file : files) titles.push_back(file->GetFileTitleAndExt());
        return titles;
    }
};

}  // namespace

TEST_F(ItoolFunctionsTest, AConstraintFileGoesToItsDefaultPosition)
{
    const IfileObjectEx otherKind(OfKind(4, "notes.txt"), false);
    EXPECT_EQ(ItoolGetDefaultPosT(otherKind, ListOfKinds({0, 2, 3}), nullptr), 3u);
    EXPECT_EQ(ItoolGetDefaultPosT(IfileObjectEx(OfKind(2, "s.sdc"), false), {}, nullptr), 0u);

    std::deque<IfileObject> list = ListOfKinds({0, 0, 3});
    ItoolInsertInDefaultPos(IfileObjectEx(OfKind(2, "new.sdc"), false), list, nullptr);
    EXPECT_EQ(list[2].GetFileTitleAndExt(), "new.sdc");  // before the 3

    list = ListOfKinds({0, 3, 0});
    ItoolInsertInDefaultPos(IfileObjectEx(OfKind(3, "new.pdc"), false), list, nullptr);
    EXPECT_EQ(list[2].GetFileTitleAndExt(), "new.pdc");  // right after the 3

    // The vector form holds the entries themselves.
    Entries entries;
    for (const IfileObject& file : ListOfKinds({0, 3, 4}))
        entries.push_back(boost::make_shared<IfileObjectEx>(file, false));
    const auto added = boost::make_shared<IfileObjectEx>(OfKind(2, "new.sdc"), false);
    ItoolInsertInDefaultPos(added, entries, nullptr);
    EXPECT_EQ(entries[1], added);

    // A constraint file of a component (it has a parent) comes right after the sources.
    IfileObjectEx component(IfileObject("/design/core.pdc", zorpaFT_PDC, ImodelFMFull, false, false), false);
    component.AddParentFile(IfileObject("/design/core.cxf", zorpaFT_OMBRIX_CXF, ImodelFMFull, false, false));
    EXPECT_EQ(component.GetOrderFileType(nullptr), imodelConstraintFlowComponent);
    EXPECT_EQ(ItoolGetDefaultPosT(component, ListOfKinds({0, 2, 0, 3}), nullptr), 1u);
}

TEST_F(ItoolFunctionsTest, AListFilledFileByFileEndsAsInsertingEachAtItsDefaultPositionWould)
{
    // Every kind, a component's constraint file (kind 1) among them.
    const auto make = [](int kind, const std::string& title) {
        if (kind != imodelConstraintFlowComponent) return boost::make_shared<IfileObjectEx>(OfKind(kind, title), false);
        auto file = boost::make_shared<IfileObjectEx>(
            IfileObject("/design/" + title + ".pdc", zorpaFT_PDC, ImodelFMFull, false, false), false);
        file->AddParentFile(IfileObject("/design/core.cxf", zorpaFT_OMBRIX_CXF, ImodelFMFull, false, false));
        return file;
    };
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> kind(0, 4);
    std::uniform_int_distribution<int> length(0, 12);
    for (int round = 0; round < 300; ++round) {
        Entries start;
        for (int i = length(random); i > 0; --i) start.push_back(make(kind(random), "s" + std::to_string(i)));
        Entries expected = start;
        ItoolDefaultPosList list(start, nullptr);
        for (int i = length(random); i > 0; --i) {
            const auto added = make(kind(random), "a" + std::to_string(i));
            ItoolInsertInDefaultPos(added, expected, nullptr);
            list.Insert(added);
        }
        list.Insert(nullptr);
        ASSERT_EQ(Titles(list.GetList()), Titles(expected)) << "round " << round;
    }
}

TEST_F(ItoolFunctionsTest, AFileIsCreditedToTheFirstToolThatMakesIt)
{
    EXPECT_EQ(itoolCreatorOfNode(Node(zorpaFT_SYN_SDC)), "Synplify");
    EXPECT_EQ(itoolCreatorOfNode(Node(zorpaFT_ZEVORU_PDC)), "DAVIRI");
    EXPECT_EQ(itoolCreatorOfNode(Node(zorpaFT_SYN_EDN)), "");  // not a constraint node

    // A node both tools make goes to whichever its transitions name first.
    IprocessFileObject shared(zorpaFT_ZEVORU_SDC, "_x", false, "sdc", "", nullptr);
    shared.SetOptionalConstraintFileLevel(imodelConstraintFlowPhysicalSynthesis, true);
    IprocessToolObject synthesis("S", "", ideSYNTHESIS, imodelDeviceNone, false);
    IprocessToolObject physical("P", "", idePHYSYNTH, imodelDeviceNone, false);
    IprocessToolToFileTransition first(1, "first", false);
    IprocessToolToFileTransition second(2, "second", false);
    first.AttachFromObject(&synthesis);
    first.AttachToObject(&shared);
    second.AttachFromObject(&physical);
    second.AttachToObject(&shared);
    EXPECT_EQ(itoolCreatorOfNode(shared), "Synplify");

    std::string creator, parent;
    const auto constraints = Add("synthesis/top_sdc.sdc", zorpaFT_SYN_SDC);
    ItoolCreatedBy(*constraints, nullptr, creator, parent);
    EXPECT_EQ(creator + "/" + parent, "Synplify/Synplify");
    const auto notes = Add("notes.txt", zorpaFT_TXT);
    ItoolCreatedBy(*notes, nullptr, creator, parent);
    EXPECT_EQ(creator + "/" + parent, "User/User");

    // A core's file: the core tool's name, for the parent too.
    const auto core = Add("kiltora/pll.cxf", zorpaFT_OMBRIX_CXF);
    IfileObjectEx coreFile(IfileObject("<project>/kiltora/pll.v", zorpaFT_HDL, ImodelFMInternal, true, true), false);
    coreFile.AddParentFile(*core);
    ItoolCreatedBy(coreFile, nullptr, creator, parent);
    EXPECT_EQ(creator, Imodel::GetInstance().GetCoreToolManager(zorpaFT_OMBRIX_CXF)->GetToolName());
    EXPECT_EQ(parent, creator);

    // A core's constraint file stays while users must pass component constraints.
    IfileObjectEx coreConstraints(IfileObject("<project>/kiltora/pll.pdc", zorpaFT_PDC, ImodelFMInternal, true, true),
                                  false);
    coreConstraints.AddParentFile(*core);
    ItoolConstraintsManager& manager = ItoolConstraintsManager::GetInstance();
    EXPECT_TRUE(manager.ConstraintCanBeRemoved(coreConstraints, idePALLADOR, nullptr));
    FlowOptionsScope mustPass{{"IDE_USER_MUST_PASS_COMPONENT_CSTRS", "1"}};
    EXPECT_FALSE(manager.ConstraintCanBeRemoved(coreConstraints, idePALLADOR, nullptr));
    EXPECT_TRUE(manager.ConstraintCanBeRemoved(coreFile, idePALLADOR, nullptr));
}

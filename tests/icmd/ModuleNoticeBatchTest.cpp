// A read of the project's files (open_project, refresh) tells the views of
// each unit once, when the read ends, rather than at every parse that reaches
// it. On random designs (several units per file, blocks shared, cycles, units
// used before they are defined or never, units defined twice, a second
// library, packages), what each view knows after an open and after a refresh
// equals what it knows when every parse tells the views at once, and so do the
// other events and which units can be shown in a view.
#include "MessageRecorder.h"
#include "ProjectCommandsTest.h"
#include "RecordingView.h"

#include "icmd/files/IcmdRefresh.h"
#include "icmd/project/IcmdNewProject.h"
#include "icmd/project/IcmdOpenProject.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleNotices.h"
#include "imodel/model/Imodel.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A unit as both runs can name it: its libraries, name and file.
std::string Key(const ImodelModule& unit)
{
    const boost::shared_ptr<IfileObjectEx> file = unit.GetModuleFile();
    return unit.GetDefinedInLibrary() + "." + unit.GetName() + (unit.IsPackage() ? " (package)" : "") + " in " +
           (file ? file->GetFullFileName().GetString() : std::string("none"));
}

// What a view was told: for each unit standing now, whether it was added or
// modified first, and the other events that named it; and, in order, the
// events that name no unit. A unit told of as added and then as modified
// by each parse that reaches it is told of once, as the first time.
struct Knowledge {
    std::map<std::string, std::string> told;
    std::map<std::string, std::set<std::string>> named;
    std::vector<std::string> others;
    bool operator==(const Knowledge&) const = default;
};

Knowledge Known(const RecordingView& view)
{
    Knowledge known;
    for (std::size_t i = 0; i < view.Names().size(); ++i) {
        const std::string& name = view.Names()[i];
        const auto* units = dynamic_cast<const Ievent_ModulesParent*>(view.Events()[i]);
        if (units == nullptr) {
            known.others.push_back(name);
            continue;
        }
        const bool tells = name == "IeventModuleAdded" || name == "IeventModuleModified";
        for (const ImodelModule* unit : units->GetLiveModules()) {
            if (unit == nullptr) continue;
            if (tells)
                known.told.try_emplace(Key(*unit), name);
            else
                known.named[Key(*unit)].insert(name);
        }
    }
    return known;
}

// Which units of the design can be shown in a view.
std::map<std::string, int> Displayable(ImodelDesignManager& design)
{
    std::map<std::string, int> shown;
    const ImodelDesignManager::LibraryRange libraries = design.GetLibraries();
    for (auto library = libraries.first; library != libraries.second; ++library)
        if (*library)
            for (const ImodelModule* unit : *(*library)->GetModules())
                shown[Key(*unit)] += unit->CanBeDisplayedInAView() ? 1 : 0;
    return shown;
}

class ModuleNoticeBatch : public ProjectCommandsTest {
protected:
    void TearDown() override
    {
        ImodelModuleNoticeBatch::Enable(true);
        ProjectCommandsTest::TearDown();
    }

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    bool Chance(int percent) { return Pick(100) < percent; }

    // A project of `count` random files; the path of its project file.
    std::string MakeProject(int design, int count)
    {
        const std::string name = "p" + std::to_string(design);
        const std::string folder = m_folder / name;
        EXPECT_TRUE(IcmdDoNewProject(false, name, folder, true, "ZX3", "zx3_10", "tq100"));
        IfileManager& files = *Imodel::GetInstance().GetFileManager();
        // Units e<file>_<n>; some used are defined nowhere, a few twice.
        const auto unit = [&] { return "e" + std::to_string(Pick(count)) + "_" + std::to_string(Pick(4)); };
        for (int f = 0; f < count; ++f) {
            std::string text = "library ieee;\nuse ieee.std_logic_1164.all;\n";
            if (Chance(20)) text += "use work.pk" + std::to_string(Pick(count)) + ".all;\n";
            if (Chance(15)) text += "package pk" + std::to_string(f) + " is\nend package;\n";
            for (int units = 1 + Pick(3), n = 0; n < units; ++n) {
                const std::string self = Chance(5) ? unit() : "e" + std::to_string(f) + "_" + std::to_string(n);
                text += "entity " + self + " is\nend entity;\narchitecture rtl of " + self + " is\nbegin\n";
                for (int sub = Pick(5), i = 0; i < sub; ++i) {
                    const std::string used = unit();
                    text += "  i" + std::to_string(i) + " : ";
                    text += Chance(60) ? "entity " + std::string(Chance(20) ? "lib2." : "work.") + used : used;
                    text += " port map (a => b);\n";
                }
                text += "end architecture;\n";
            }
            const std::string path = m_folder.Write(name + "/hdl/f" + std::to_string(f) + ".vhd", text);
            IfileObjectEx file(IfileObject(ImodelFileName(path), zorpaFT_HDL, ImodelFMFull, true, true), false);
            if (Chance(25)) file.SetLibraryName("lib2");
            files.AddOrUpdateFile(file, false);
        }
        EXPECT_TRUE(IcmdDoCloseProject(false, false));
        return folder + "/" + name + ".prj";
    }

    // What two views know after an open, and after a refresh of it.
    std::vector<Knowledge> ReadTwice(const std::string& project, const std::string& text,
                                     std::map<std::string, int>& shown)
    {
        // Both ways read the project file as made (a close saves it).
        std::ofstream(project, std::ios::binary | std::ios::trunc) << text;
        RecordingView first;
        RecordingView second;
        std::vector<Knowledge> known;
        EXPECT_TRUE(IcmdDoOpenProject(project.c_str(), false, false));
        known.push_back(Known(first));
        known.push_back(Known(second));
        first.Clear();
        second.Clear();
        IcmdDoRefresh(false);
        known.push_back(Known(first));
        known.push_back(Known(second));
        shown = Displayable(Design());
        EXPECT_TRUE(IcmdDoCloseProject(false, false));
        return known;
    }

    MessageRecorder m_messages;
    std::mt19937 m_random{28};
};

}  // namespace

TEST_F(ModuleNoticeBatch, ViewsKnowWhatTheyKnowWhenEveryParseTellsThem)
{
    std::size_t told = 0;
    // The last designs hold over a hundred units each (the batch's index of
    // them grows during one read), and files refused for a unit that another
    // file defined already.
    for (int design = 0; design < 14; ++design) {
        const std::string project = MakeProject(design, design < 12 ? 4 + Pick(16) : 50 + Pick(20));
        std::ostringstream text;
        text << std::ifstream(project, std::ios::binary).rdbuf();
        std::map<std::string, int> plainShown;
        std::map<std::string, int> batchShown;
        ImodelModuleNoticeBatch::Enable(false);
        const std::vector<Knowledge> plain = ReadTwice(project, text.str(), plainShown);
        ImodelModuleNoticeBatch::Enable(true);
        const std::vector<Knowledge> batched = ReadTwice(project, text.str(), batchShown);
        ASSERT_EQ(plain.size(), batched.size());
        for (std::size_t i = 0; i < plain.size(); ++i) {
            EXPECT_EQ(plain[i].told, batched[i].told) << "design " << design << ", read " << i / 2;
            EXPECT_EQ(plain[i].named, batched[i].named) << "design " << design << ", read " << i / 2;
            EXPECT_EQ(plain[i].others, batched[i].others) << "design " << design << ", read " << i / 2;
            told += plain[i].told.size();
        }
        EXPECT_EQ(plainShown, batchShown) << "design " << design;
    }
    // The designs hold units, and the views hear of them.
    EXPECT_GT(told, 300u);
}

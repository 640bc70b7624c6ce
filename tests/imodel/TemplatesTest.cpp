#include "RepositoryTestSupport.h"
#include "TempFolder.h"

#include "ifile/IfileObject.h"
#include "imodel/cores/ImodelTemplateManager.h"
#include "imodel/names/ImodelFileName.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// A host that lists the files of a folder for a pattern "<folder>/*".
class ListingHost : public RecordingHost {
public:
    using RecordingHost::ListFolder;
    void ListFolder(const ImodelFileName& pattern, int, zorpaFileManagerTypes type, std::deque<IfileObject>& files,
                    std::vector<std::string>* names, bool) override
    {
        patterns.push_back(pattern.GetString());
        std::string folder = pattern.GetString();
        folder.pop_back();
        std::vector<std::string> entries;
        SysListFolder(folder, entries);
        for (const std::string& entry : entries) {
            if (!UtlDoesFileExist(folder + entry)) continue;
            files.emplace_back(ImodelFileName(folder + entry), type, ImodelFMFull, true, false);
            if (names) names->push_back(entry);
        }
    }
    Lines patterns;
};

// One system template: the database reader itself is IxmlTemplateParserTest's.
const char* const kDatabase = "<templates><hdl type=\"VHDL\"><section name=\"Sequential\"><template><prefix>Reg"
                              "</prefix><code>q &lt;= d;</code><suffix/></template></section></hdl></templates>";

Lines Describe(const ImodelTemplateManager::TemplateList& templates)
{
    Lines lines;
    for (const auto& t : templates) {
        lines.push_back(t->getSectionFullName() + "|" + t->getPrefix() + "|" + t->getCode() + "|" + t->getSuffix() +
                        "|" + (t->isVHDL() ? "vhdl" : "verilog") + (t->isUserTemplate() ? "|user|" : "|system|") +
                        t->getFileName());
    }
    return lines;
}

class TemplatesTest : public testing::Test {
protected:
    TemplatesTest()
    {
        DefSetFL("DATADIR", (folder / "data").c_str());
        DefSetFL("TEMPLATE_DIR", (folder / "user").c_str());
        folder.Write("data/templates.xml", kDatabase);
        folder.Write("user/Counter.VHD", "entity counter is\r\nend;\r\n");
        folder.Write("user/mux.v", "module mux; endmodule\n");
        folder.Write("user/notes.txt", "not a template");
        folder.Write("user/long.vhdl", "not a template either");
        folder.Write("user/noext", "nor this");
        folder.Write("user/sub/inner.v", "in a sub-folder");
    }
    ~TemplatesTest() override
    {
        DefUnset("DATADIR");
        DefUnset("TEMPLATE_DIR");
    }

    TempFolder folder;
    ListingHost host;
};

TEST_F(TemplatesTest, LoadsSystemAndUserTemplatesAndReloadsWithoutDoubling)
{
    ImodelTemplateManager manager;
    manager.loadAllTemplates();
    const Lines system = {"VHDL;Sequential|Reg|q <= d;||vhdl|system|"};
    const std::string user = folder.Path() + "/user/";
    const Lines users = {
        "VHDL;User Templates|Counter|entity counter is\nend;\n||vhdl|user|" + user + "Counter.VHD",
        "Verilog;User Templates|mux|module mux; endmodule\n||verilog|user|" + user + "mux.v",
    };
    EXPECT_EQ(Describe(manager.getTemplates()), system);
    EXPECT_EQ(Describe(manager.getUserTemplates()), users);
    EXPECT_EQ(host.patterns, Lines{user + "*"});

    // A template kept by a caller outlives the reload; reloading the user
    // templates keeps the system ones.
    const boost::shared_ptr<ImodelTemplate> kept = manager.getUserTemplates().front();
    manager.addUserTemplate(ImodelTemplate("VHDL;User Templates", "added", "code", "", true, true, ""));
    manager.loadAllTemplates();
    EXPECT_EQ(Describe(manager.getUserTemplates()), users);
    EXPECT_EQ(kept->getPrefix(), "Counter");
    folder.Write("user/extra.v", "wire w;");
    manager.reloadUserTemplates();
    EXPECT_EQ(Describe(manager.getTemplates()), system);
    EXPECT_EQ(manager.getUserTemplates().size(), 3u);
}

}  // namespace

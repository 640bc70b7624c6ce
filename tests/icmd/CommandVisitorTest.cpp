// The visitor of commands: open_project hands itself to the visitor's
// operation for it; every other command of the library hands nothing, and a
// visitor that recognises nothing gets nothing.
#include "icmd/IcmdBase.h"
#include "icmd/IcmdVisitor.h"
#include "icmd/project/IcmdOpenProject.h"
#include "imodel/model/Imodel.h"
#include "src/icmd/IcmdCommandTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class OpenProjectSpotter : public IcmdVisitor {
public:
    void Visit(IcmdOpenProject& command) override { seen.push_back(&command); }
    std::vector<const IcmdOpenProject*> seen;
};

// Recognises no command: the defaults do nothing.
class BlindVisitor : public IcmdVisitor {};

}  // namespace

TEST(IcmdVisitor, OnlyOpenProjectIsRecognisedAndItIsTheCommandItself)
{
    int visited = 0;
    for (const IcmdCommandRow& row : IcmdGetCommandTable()) {
        if (!row.factory) continue;
        const std::unique_ptr<AcmdBase> prototype = row.factory(Imodel::GetInstance());
        ASSERT_TRUE(prototype) << row.name;
        // The prototype and the clone the manager runs answer alike.
        const std::unique_ptr<AcmdBase> clone = prototype->Clone();
        for (AcmdBase* command : {prototype.get(), clone.get()}) {
            auto* own = dynamic_cast<IcmdBase*>(command);
            if (!own) continue;  // the simulation option commands are the framework's own
            ++visited;
            OpenProjectSpotter spotter;
            own->Accept(spotter);
            BlindVisitor blind;
            own->Accept(blind);
            if (row.name == std::string("open_project")) {
                ASSERT_EQ(spotter.seen.size(), 1u);
                EXPECT_EQ(spotter.seen.front(), dynamic_cast<IcmdOpenProject*>(command));
            } else {
                EXPECT_TRUE(spotter.seen.empty()) << row.name;
            }
        }
    }
    EXPECT_GT(visited, 60);
}

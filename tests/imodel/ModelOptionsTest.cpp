// The model's list of option objects: the model owns every option in it,
// the one it makes itself and those its callers add, and deletes each once.
#include "OptionsScope.h"

#include "imodel/model/Imodel.h"
#include "imodel/options/ImodelStringDefVarOption.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <vector>

namespace {

// An option that counts how often it is deleted.
class CountedOption : public ImodelStringDefVarOption {
public:
    CountedOption(int& deleted, const char* variable, const char* key)
        : ImodelStringDefVarOption(variable, "", key), m_deleted(deleted)
    {
    }
    ~CountedOption() override { ++m_deleted; }

private:
    int& m_deleted;
};

class ModelOptions : public OptionsFixture {
protected:
    void TearDown() override { Imodel::DestroyNewProjectWizardInstance(m_model); }
    std::unique_ptr<Imodel> m_model = Imodel::CreateNewProjectWizardInstance();
};

}  // namespace

TEST_F(ModelOptions, TheModelOwnsEveryOptionItsCallersAdd)
{
    int deleted = 0;
    const std::vector<ImodelVarOption*>& options = m_model->GetOptions();
    ASSERT_EQ(options.size(), 1u);  // the core generator's compile report
    ImodelVarOption* const report = options.front();

    auto first = std::make_unique<CountedOption>(deleted, "QL_FIRST_OPTION", "FirstOption");
    CountedOption* const added = first.get();
    m_model->AddOption(std::move(first));
    m_model->AddOption(nullptr);  // nothing to own
    m_model->AddOption(std::make_unique<CountedOption>(deleted, "QL_SECOND_OPTION", "SecondOption"));
    ASSERT_EQ(options.size(), 3u);
    EXPECT_EQ(options[0], report);
    EXPECT_EQ(options[1], added);
    EXPECT_EQ(m_model->FindOption("QL_FIRST_OPTION"), added);
    EXPECT_EQ(m_model->FindOption("OMBRIXU_COMPILE_REPORT_PREF"), report);

    // The list serves as the project file uses it: each option writes and
    // reads its own line.
    ASSERT_TRUE(added->SetValue("on"));
    std::ostringstream lines;
    for (ImodelVarOption* option : options) option->Write(&lines);
    EXPECT_NE(lines.str().find("FirstOption=on\n"), std::string::npos) << lines.str();
    for (ImodelVarOption* option : options) option->Read("FirstOption", "off");
    EXPECT_EQ(added->GetValue(), "off");

    // The model deletes each of them once, with itself.
    EXPECT_EQ(deleted, 0);
    Imodel::DestroyNewProjectWizardInstance(m_model);
    EXPECT_EQ(deleted, 2);
}

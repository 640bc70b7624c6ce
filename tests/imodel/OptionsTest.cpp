// Options backed by the options database, the compile-report option and the
// programming-input choice.
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/options/ImodelBoolStringDefVarOption.h"
#include "imodel/options/ImodelKiltoraReportOption.h"
#include "imodel/options/ImodelOptionVisitor.h"
#include "imodel/options/ImodelStringDefVarOption.h"
#include "src/imodel/options/imodelTorvixInputOption.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override { DefReset(); }
    void TearDown() override { DefReset(); }
};

// Counts the real changes the option reports.
class CountingOption : public ImodelStringDefVarOption {
public:
    using ImodelStringDefVarOption::ImodelStringDefVarOption;
    void ValueChanged() override { ++changes; }
    int changes = 0;
};

std::string Written(ImodelVarOption& option)
{
    std::ostringstream out;
    option.Write(&out);
    return out.str();
}

TEST_F(OptionsTest, VariableIsTheStateAndChangesAreReportedOnlyWhenReal)
{
    CountingOption option("IDE_OPT_TEXT", "fallback", "OptText");
    EXPECT_FALSE(option.IsUSERDefVar());
    EXPECT_TRUE(option.IsIdentifier("IDE_OPT_TEXT"));
    EXPECT_FALSE(option.IsIdentifier("ide_opt_text"));
    EXPECT_FALSE(option.IsIdentifier(nullptr));

    // Unset: the default answers, but nothing is written.
    EXPECT_EQ("fallback", option.GetValue());
    EXPECT_EQ("", Written(option));
    option.SetDefault();  // stores the default, which is no change of the value seen
    EXPECT_EQ(0, option.changes);
    EXPECT_EQ("OptText=fallback\n", Written(option));

    option.Read("OptText", "a=b c");
    EXPECT_EQ(1, option.changes);
    EXPECT_EQ("a=b c", option.GetValue());
    EXPECT_EQ("OptText=a=b c\n", Written(option));
    option.Read("OptText", "a=b c");
    option.Read("opttext", "other");  // keys compare exactly
    option.Read("IDE_OPT_TEXT", "other");
    EXPECT_EQ(1, option.changes);

    // A second object of the same variable sees the same value.
    CountingOption twin("IDE_OPT_TEXT", "", "");
    EXPECT_EQ("a=b c", twin.GetValue());
    DefSetFL("IDE_OPT_TEXT", "changed elsewhere");
    EXPECT_EQ("changed elsewhere", option.GetValue());

    // A text the line-oriented stores cannot hold is refused and changes nothing.
    EXPECT_FALSE(option.SetValue("two\nlines"));
    EXPECT_FALSE(option.SetValue(nullptr));
    EXPECT_EQ("changed elsewhere", option.GetValue());
    EXPECT_EQ(1, option.changes);
    EXPECT_TRUE(option.SetValue(""));
    EXPECT_EQ("", option.GetValue());
    EXPECT_EQ(2, option.changes);
}

TEST_F(OptionsTest, OptionWithoutKeyStaysOutOfTheProjectFile)
{
    CountingOption option("IDE_USER_ONLY", "d", "");
    EXPECT_TRUE(option.IsUSERDefVar());
    option.Read("", "taken?");
    EXPECT_EQ("d", option.GetValue());
    EXPECT_TRUE(option.SetValue("set"));
    EXPECT_EQ("", Written(option));
    option.Write(nullptr);
}

class RecordingVisitor : public ImodelOptionVisitor {
public:
    void VisitStringOption(ImodelStringDefVarOption* option) override { visits += "string:" + option->GetKey() + ";"; }
    void VisitBoolOption(ImodelBoolStringDefVarOption* option) override { visits += "bool:" + option->GetKey() + ";"; }
    std::string visits;
};

TEST_F(OptionsTest, BooleanOptionCarriesTwoTextsAndVisitorsSeeTheKind)
{
    ImodelBoolStringDefVarOption yes("IDE_OPT_YES", "yes", "no", true, "Yes");
    ImodelBoolStringDefVarOption no("IDE_OPT_NO", "yes", "no", false, "No");
    EXPECT_TRUE(yes.GetDefault());
    EXPECT_FALSE(no.GetDefault());
    EXPECT_EQ("yes", yes.GetValue());
    EXPECT_TRUE(yes.GetValueBool());
    EXPECT_FALSE(no.GetValueBool());

    EXPECT_TRUE(no.SetValueBool(true));
    EXPECT_EQ("yes", no.GetValue());
    EXPECT_TRUE(no.GetValueBool());
    DefSetFL("IDE_OPT_NO", "YES");  // only the exact true text is true
    EXPECT_FALSE(no.GetValueBool());

    RecordingVisitor visitor;
    ImodelStringDefVarOption text("IDE_OPT_TEXT", "", "Text");
    text.Accept(&visitor);
    yes.Accept(&visitor);
    ImodelKiltoraReportOption report;
    report.Accept(&visitor);
    report.Accept(nullptr);
    EXPECT_EQ("string:Text;bool:Yes;bool:KiltoraCompileReport;", visitor.visits);
}

TEST_F(OptionsTest, CompileReportOptionMarksTheProjectOnlyOnARealChange)
{
    ImodelKiltoraReportOption report;
    EXPECT_TRUE(report.IsIdentifier("OMBRIXU_COMPILE_REPORT_PREF"));
    EXPECT_FALSE(report.IsUSERDefVar());
    EXPECT_TRUE(report.GetDefault());
    EXPECT_EQ("T", report.GetValue());
    EXPECT_EQ("", Written(report));

    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    DefSetFL("OMBRIXU_COMPILE_REPORT_PREF", "F");
    design.SetNeedSave(false);
    report.Read("KiltoraCompileReport", "F");
    EXPECT_FALSE(design.GetNeedSave());
    report.Read("kiltoracompilereport", "T");
    EXPECT_FALSE(design.GetNeedSave());
    EXPECT_FALSE(report.GetValueBool());
    EXPECT_EQ("KiltoraCompileReport=F\n", Written(report));

    report.Read("KiltoraCompileReport", "T");
    EXPECT_TRUE(design.GetNeedSave());
    EXPECT_TRUE(report.GetValueBool());

    design.SetNeedSave(false);
    report.SetDefault();  // already "T"
    EXPECT_FALSE(design.GetNeedSave());
    report.SetValueBool(false);
    EXPECT_TRUE(design.GetNeedSave());
    design.SetNeedSave(false);
}

std::string Written(ImodelChoiceOption& option)
{
    std::ostringstream out;
    option.Write(&out);
    return out.str();
}

TEST_F(OptionsTest, ProgrammingInputChoice)
{
    imodelTorvixInputOption input;
    ASSERT_EQ(2, input.GetChoiceCount());
    EXPECT_EQ("Use STAPL file", input.GetChoiceLabel(0));
    EXPECT_EQ("Use PDB file", input.GetChoiceLabel(1));
    EXPECT_EQ("", input.GetChoiceLabel(-1));
    EXPECT_EQ("", input.GetChoiceLabel(2));

    // A new object selects STAPL; its default (PDB while the variable is unset)
    // takes effect on SetDefault.
    EXPECT_EQ(0, input.GetCurrentIndex());
    EXPECT_EQ(1, input.GetDefaultIndex());
    EXPECT_EQ("stp", input.GetValue());
    EXPECT_EQ("TorvixInputFile=stp\n", Written(input));
    input.SetDefault();
    EXPECT_EQ("pdb", input.GetValue());

    EXPECT_FALSE(input.Read("torvixinputfile", "stp"));
    EXPECT_EQ("pdb", input.GetValue());
    EXPECT_TRUE(input.Read("TorvixInputFile", "stp"));
    EXPECT_EQ(0, input.GetCurrentIndex());

    // A value that names no choice leaves none selected.
    EXPECT_TRUE(input.Read("TorvixInputFile", "PDB"));
    EXPECT_EQ(-1, input.GetCurrentIndex());
    EXPECT_EQ("", input.GetValue());
    EXPECT_EQ("TorvixInputFile=\n", Written(input));
    EXPECT_TRUE(input.Read("TorvixInputFile", ""));
    EXPECT_EQ(-1, input.GetCurrentIndex());

    input.SetValue("pdb");
    EXPECT_EQ(1, input.GetCurrentIndex());
    EXPECT_FALSE(input.SetTypedValue("bit"));
    EXPECT_EQ(-1, input.GetCurrentIndex());
    input.SetCurrentIndex(7);  // stored as given, but selects nothing
    EXPECT_EQ(7, input.GetCurrentIndex());
    EXPECT_EQ("", input.GetValue());
    EXPECT_EQ("", input.GetTypedValue());
}

TEST_F(OptionsTest, ProgrammingInputDefaultComesFromTheOptions)
{
    DefSetFL("IDE_TORVIX_INPUT_DEFAULT", "stp");
    EXPECT_EQ(0, imodelTorvixInputOption().GetDefaultIndex());
    DefSetFL("IDE_TORVIX_INPUT_DEFAULT", "pdb");
    EXPECT_EQ(1, imodelTorvixInputOption().GetDefaultIndex());
    DefSetFL("IDE_TORVIX_INPUT_DEFAULT", "bit");
    imodelTorvixInputOption none;
    EXPECT_EQ(-1, none.GetDefaultIndex());
    EXPECT_EQ(0, none.GetCurrentIndex());
    none.SetDefault();
    EXPECT_EQ("", none.GetValue());
}

}  // namespace

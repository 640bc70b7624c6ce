// The views block and the modules' state blocks come from project files
// written anywhere, by older versions or by hand: the readers take any lines
// without fault, take lines only from the front, never leave the views
// without a current one or with two views of one number or name, and what
// they make of their own output writes the same text again.
#include "MessageRecorder.h"
#include "TextLines.h"

#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelFileListIO.h"
#include "imodel/views/ImodelRevisionManager.h"

#include <foundation/Sys.h>
#include <kemlet/KemletFileStructure.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// The lines of a top-level block as the project-file parser hands them on.
Lines Parsed(const std::string& text, const char* name)
{
    KemletFileStructure* structure = KemletFileGetNewStructure();
    structure->Parse("fuzz.prj", text, "");
    const auto list = structure->GetLIST(name, true);
    Lines lines = list ? list->GetLines() : Lines();
    KemletFileDeleteStructure(structure);
    return lines;
}

void Check(bool condition)
{
    if (!condition) std::abort();
}

// `rest` is what a reader left of `lines`: their end.
void CheckTakenFromTheFront(const Lines& lines, const Lines& rest)
{
    Check(rest.size() <= lines.size() && std::equal(rest.begin(), rest.end(), lines.end() - rest.size()));
}

std::string Written(const ImodelRevisionManager& views)
{
    std::ostringstream out;
    views.WriteRevisions(&out);
    return out.str();
}

void FuzzViews(ImodelRevisionManager& views, const Lines& lines)
{
    Lines input = lines;
    views.ReadRevisions(input);
    Check(input.empty());
    Check(views.GetRevisionCount() >= 1);
    Check(views.GetCurrentIndex() >= 1 && views.GetCurrentIndex() <= views.GetRevisionCount());
    std::vector<int> numbers;
    Lines names;
    views.GetRevisionNumbers(&numbers);
    views.GetRevisionNames(&names);
    Check(std::set<int>(numbers.begin(), numbers.end()).size() == numbers.size());
    Check(std::set<std::string>(names.begin(), names.end()).size() == names.size());
    Check(std::all_of(numbers.begin(), numbers.end(), [](int number) { return number > 0; }));

    const std::string first = Written(views);
    Lines again = Parsed(first, "REVISIONS");
    views.ReadRevisions(again);
    Check(Written(views) == first);
}

std::string Written(const ImodelContextImpl& context)
{
    std::ostringstream out;
    context.WriteStates(&out);
    return out.str();
}

void FuzzStates(const Lines& lines, bool matchNames)
{
    ImodelFileTypeList known;
    for (std::size_t i = 0; i < lines.size() && i < 8; ++i) known.emplace_back(lines[i], zorpaFT_HDL);

    ImodelContextImpl context("fuzz", nullptr);
    for (const char* name : {"Impl1", "Impl2", "FlowOptions"}) context.AddRevision(name);
    context.SetCurRev("Impl1");
    Lines input = lines;
    std::string line;
    bool useSynthRead = false;
    Lines outOfDate;
    context.ReadStates(input, line, useSynthRead, known, known, matchNames, outOfDate, {});
    CheckTakenFromTheFront(lines, input);

    // What was read writes the same text once read again.
    const std::string first = Written(context);
    ImodelContextImpl copy("fuzz", nullptr);
    for (const ImodelRevContextImpl* revision : context.GetAllRevs()) copy.AddRevision(revision->GetName());
    Lines again = Parsed("LIST ProjectState5.1\n" + first + "ENDLIST\n", "ProjectState5.1");
    outOfDate.clear();
    copy.ReadStates(again, line, useSynthRead, {}, {}, false, outOfDate, {});
    Check(again.empty() && outOfDate.empty());
    Check(Written(copy) == first);

    // The older lists on their own.
    input = lines;
    Lines names;
    ImodelReadFileList(input, known, {}, matchNames, &names);
    CheckTakenFromTheFront(lines, input);
    Check(names.size() <= lines.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static MessageRecorder messages;
    static const bool quiet = (SysSetPrintHook([](const std::string&) {}), true);
    (void)quiet;
    messages.Clear();

    const std::string text(reinterpret_cast<const char*>(data), size);
    const Lines lines = TextLines(text);
    FuzzViews(*Imodel::GetInstance().GetRevisionManager(), lines);
    FuzzStates(lines, size % 2 == 0);
    FuzzStates(Parsed(text, "ProjectState5.1"), true);
    return 0;
}

// Fuzzes the Tcl arguments of the library's argument classes through the
// tests' echo commands, in a small project: a root unit with a view, a
// member file, a device catalogue. The input's first line names the command
// ("echo_project_args", else echo_args); the other lines are its words.
// Besides never crashing, a call that succeeds must journal a text that,
// evaluated, runs again and journals the same text: what an argument writes
// back names the same objects.
#include "EchoCommand.h"
#include "FuzzTcl.h"
#include "SilentSink.h"
#include "TempFolder.h"

#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>
#include <foundation/Mdb.h>

#include <tcl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kCatalogue = "@choices FAM = ZX3 ZX7\n@choices DIE[QFAM=ZX3] = zx3_10\n@ext zx3_10 = ZX3-10\n"
                                   "@choices PACKAGE[QFAM=ZX3,QDIE=zx3_10] = tq100\n"
                                   "IS_DEVICE_SELECTION_MANDATORY[QFAM=ZX7] = 1\n";

// The project, made once: unit top::work (with view Impl1), unit
// alu::lib2 (the root, with Impl1 too), member file <project>/hdl/top.v.
Tcl_Interp* Interpreter()
{
    static SilentSink sink;
    static TempFolder folder;
    static Tcl_Interp* interp = [] {
        MdbSetSink(&sink);
        DefLoadDefaultsFromText(kCatalogue, nullptr);
        ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
        design.SetProjectFolder(folder.Path());
        design.SetProjectOpen(true);
        for (const auto& [name, library] : {std::pair{"top", "work"}, std::pair{"alu", "lib2"}}) {
            auto unit = std::make_unique<ImodelModule>(name, nullptr, zorpaMODULE_VHDL, false, library, "", false);
            unit->GetContext()->AddRevision("Impl1");
            design.SetRootId(unit->GetComponentID());
            design.AddLibrary(library, false)->GetModules()->Insert(std::move(unit));
        }
        const IfileObject file(ImodelFileName(folder.Write("hdl/top.v", "")), zorpaFT_HDL, ImodelFMFull, true, true);
        Imodel::GetInstance().GetFileManager()->AddOrUpdateFile(IfileObjectEx(file, false), false);
        return Tcl_CreateInterp();
    }();
    return interp;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Tcl_Interp* interp = Interpreter();
    AcmdManager& manager = AcmdManager::GetInstance();
    manager.Reset();  // a fresh journal for every input
    manager.AttachInterp(interp);
    manager.SetCurrentFolder(Imodel::GetInstance().GetDesignManager()->GetProjectFolder());
    manager.RegisterCommand(std::make_unique<EchoCommand>());
    manager.RegisterCommand(std::make_unique<EchoCommand>(EchoSetup{"echo_project_args", true, true}));

    std::vector<std::string> words = SplitLines(std::string(reinterpret_cast<const char*>(data), size));
    words.front() = words.front() == "echo_project_args" ? words.front() : "echo_args";
    if (EvalWords(interp, words) != TCL_OK) return 0;

    // Tcl source text holds no NUL characters; such values are not replayable.
    const std::string first = manager.GetJournal().back();
    if (first.find('\0') != std::string::npos) return 0;
    const int replayed = EvalScript(interp, first);
    Require(replayed == TCL_OK, "journal text does not run",
            first + "\n" + Tcl_GetStringResult(interp) + "\nfrom " + AcmdMergeList(words));
    Require(manager.GetJournal().back() == first, "replay journals another text",
            first + "\n" + manager.GetJournal().back() + "\nfrom " + AcmdMergeList(words));
    return 0;
}

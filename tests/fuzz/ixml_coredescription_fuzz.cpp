// The core-description parser: any description is read and added to the
// project without fault, and without effect outside the project: every file
// it brings lies in the project (the core lies there, and its files may not
// leave it), and the walk over sub-components ends even when they name one
// another.
#include "SilentSink.h"
#include "TempFolder.h"

#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "ixml/IxmlSPIRITCoreParser.h"

#include <foundation/Def.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition) std::abort();
}

constexpr const char* kCatalogue = "@choices FAM = ZX3 ZX7\n@choices DIE[QFAM=ZX3] = zx3_10\n@ext zx3_10 = ZX3-10\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TempFolder folder;
    static const bool ready = [] {
        DefLoadDefaultsFromText(kCatalogue);
        Imodel& model = Imodel::GetInstance();
        model.GetDesignManager()->SetProjectFolder(ImodelFileName(folder / "project"));
        model.GetDeviceManager()->SetDevice(ImodelDevice("ZX3", "zx3_10", ""));
        // Sub-components the descriptions may name, one of them naming the core back.
        folder.Write("project/core/sub/sub.cxf",
                     "<Component><name>sub</name><hwModel><views><view><fileSetRef>COMPONENT_FILESET</fileSetRef>"
                     "</view></views></hwModel><fileSets><fileSet fileSetId=\"COMPONENT_FILESET\"><file>"
                     "<name>core.cxf</name><location>..</location></file></fileSet></fileSets></Component>");
        return true;
    }();
    Check(ready);
    SilentSink silent;
    MdbSink* previous = MdbSetSink(&silent);

    const std::string path =
        folder.Write("project/core/core.cxf", std::string(reinterpret_cast<const char*>(data), size));
    const IfileObject core(ImodelFileName(path), zorpaFT_OMBRIX_CXF, ImodelFMFull, true, true);
    IxmlSPIRITCoreParser parser(core, false, "Component", nullptr, true, false, false);
    ImodelDevice completed;
    parser.IsDeviceSupported(ImodelDevice("ZX3", "zx3_10", "tq100"), completed, true);
    std::set<ImodelModule*> modules;
    parser.ParseComponent(core, true, true, true, &modules);
    // Read contents are the parse's own: none stays behind.
    Check(parser.GetFilesContent().empty());
    Imodel& model = Imodel::GetInstance();
    std::vector<boost::shared_ptr<IfileObjectEx>> members;
    model.GetFileManager()->GetFiles(members, 0, nullptr);
    const ImodelFileName project(folder / "project");
    for (const auto& member : members) Check(member->IsInFolder(project));
    model.GetFileManager()->RemoveAllFiles();
    model.GetDesignManager()->Reset();
    MdbSetSink(previous);
    return 0;
}

// The block-design tool manager: the core-tool manager of core component
// descriptions (file type 33) and the one view inside the library. The
// project model makes one for itself and owns it; the workspace and the
// block-design components come with the core-workspace work.
#pragma once

#include "ievent/IeventView.h"
#include "imodel/names/ImodelFileName.h"
#include "itool/QuorlaneCoreToolManager.h"

#include <vy/ComponentID.h>
#include <vy/IComponent.h>
#include <vy/IDEVeyrunCallBack.h>

// Also the environment's side of the block-design engine (IDEVeyrunCallBack).
class ItoolVeyrun : public QuorlaneCoreToolManager, public IDEVeyrunCallBack, public IeventView {
public:
    // Registers as a view of `model`.
    explicit ItoolVeyrun(Imodel* model);

    zorpaFileManagerTypes GetCoreType() override { return zorpaFT_OMBRIX_CXF; }
    ImodelFunctionType GetToolType() override { return ideOMBRIX; }
    // "Veyrun" when the block-design tool is enabled, else "Kiltora".
    std::string GetToolName() override;
    // Hands the current device to the workspace, the bus definitions and the
    // core catalogue; true without a workspace, else the workspace's answer
    // to the new family.
    bool UpdateDataBase() override;
    // The workspace keeps its own time stamp.
    void SaveNewWorkspaceTimeStamp() override {}
    // Each workspace component is checked against the project's files; the
    // workspace of this build holds no components, so there is nothing to
    // report. Always true.
    bool CheckNewCoresCreated() override { return true; }
    // Adds each workspace component's files to the project; the workspace
    // of this build holds no components, so nothing is added.
    void Refresh() override {}
    // A project older than the core generator's workspace (before 7.0) gets
    // the folders "kiltora" and "simulation" and its old workspace
    // "ombrix/ombrix.aws" converted into the project's workspace; false when
    // a folder cannot be made.
    bool ConvertDataBase(int major, int minor) override;

    // The process-wide model's manager of core type 33; null when none.
    static ItoolVeyrun* GetInstance();
    // The project folder for the files of a component of that kind, made
    // when missing: "kiltora", "dremmet", or "component/<library>". Empty
    // for other kinds, while no project is open, or for a library that
    // cannot name a folder.
    static ImodelFileName GetPathForComponent(const VyIfaces::ComponentID& id, VyIfaces::IComponent::VyModuleType type);
};

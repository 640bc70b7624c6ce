// organize_constraints: the ordered constraint files one module, in one
// place-and-route view, passes to a tool that takes constraint files
// (synthesis, place and route, physical synthesis).
//
//   organize_constraints -tool <tool> [-module <unit>] [-pallador_view <view>]
//                        [-file <path> ...] [-mode new|add|remove]
//
// Without -module the root module is organized, without -pallador_view the
// module's current view. The list belongs to the tool; the constraint
// files the tool accepts for the module may be named, and any file once
// the place-and-route list holds one that is not in the project. Netlists
// and sources of the place-and-route list stay where they are; a
// constraint file a core made for a component stays in the list while
// users must pass component constraints themselves
// ("FIXED_CONSTRAINT_FILE_MOVED"). A change of the list takes the tool's
// results out of date.
#pragma once

#include "icmd/args/IcmdTCLModuleAndRevArg.h"
#include "icmd/args/IcmdToolTypeArg.h"
#include "icmd/organize/IcmdOrganizeFilesBase.h"

class ImodelRevContextImpl;
class ItoolWithConstraints;

class IcmdOrganizeConstraints : public IcmdOrganizeFilesBase {
public:
    explicit IcmdOrganizeConstraints(bool selfTest);
    ~IcmdOrganizeConstraints() override;

    std::string GetName() const override { return "organize_constraints"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdOrganizeConstraints>(false); }
    // Opens the place-and-route list to files outside the project when it
    // holds one already.
    AcmdEnum::Result initCmdTempObjects() override;
    // Takes the root module and the module's current view when none is
    // given; refuses a tool kind without a tool ("NO_CONSTRAINTS_MANAGER").
    AcmdEnum::Result checkParams() override;

    // Sets the module and view, then `tool`.
    void SetParams(ImodelFunctionType tool, ImodelModule* module, ImodelRevContextImpl* view);
    // The tool of the `tool` kind; null when none is registered.
    ItoolWithConstraints* GetManager() const;
    // Whether the module has constraint files for the tool and view: files
    // that may be named, else files in its list.
    static bool HasConstraintFiles(ImodelFunctionType tool, ImodelModule* module, ImodelRevContextImpl* view);

    void Accept(IcmdOrganizeFilesVisitor& visitor) override;
    // The tool's list; for the self-test the place-and-route list without
    // its netlists and sources.
    void GetCurrentFileList(Entries& out, bool forTest) override;
    void GetDefaultFileList(Entries& out) override;
    bool IsUsingDefaultList() override;
    void GetAllowedFileList(Entries& out) override;
    Entry FindAllowedFile(const Entry& file) override;
    bool ApplyNewFileList(const Entries& list, const ImodelOptionalFiles& optional) override;
    bool CanBeRemoved(const Entry& file, bool silent) override;
    void GetOptionalFileList(Entries list, ImodelOptionalFiles& out) override;
    std::string GetAssociateToWhat() override;
    // Keeps the netlists and sources and the files that cannot be removed.
    void UpdateActualListForNew(Entries& current, const Entries& requested) override;
    ImodelModule* GetModule() const override;
    bool IsNewFileListValid(const Entries& list, void* context) override;
    ImodelFunctionType GetToolType() const override;

private:
    // The root module when none is given, and the module's current view
    // when no view is.
    void TakeDefaultModuleAndView();
    ImodelRevContextImpl* GetView() const;
    // The keyword of the tool kind.
    std::string GetToolKeyword() const;

    IcmdTCLModuleAndRevArg m_view;
    IcmdToolTypeArg m_tool;
};

// edit_constraints: opens a physical design constraint file (type 22,
// "pdc") in the graphical constraints editor of the core workspace.
//
//   edit_constraints -file <path> [-module <name>]
//
// An editor already open for the file is brought to the front (with a
// warning when it shows another unit than the one asked for). When a text
// editor of the host holds the file, and a file may not be open in both,
// the user is asked whether to close it there first ("FILE_ALREADY_OPENED";
// Cancel opens nothing). Otherwise the editor's design is made, with the
// ports of the unit when one is given and its ports can be read, kept in
// "<file's folder>/data/<file>.ce", and opened. A file that belongs to a
// block design opens in that design's own editor. A file outside the
// project is accepted whenever the editor is enabled; a project file must
// be a constraint file of type 22.
//
// Every component made for an editor goes into one process-wide registry,
// from which it leaves when its editor closes (the workspace hands it to
// the registry, its deleter) or, all at once, when the project closes.
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdTCLFileArg.h"
#include "icmd/args/IcmdTCLModuleArg.h"
#include "ifile/IfileManagerFilterParent.h"
#include "imodel/names/ImodelFileTypes.h"

#include <foundation/Mdb.h>
#include <vy/ComponentID.h>
#include <vy/IComponent.h>

#include <boost/shared_ptr.hpp>

#include <memory>
#include <set>
#include <string>

class IfileObject;
class IfileObjectEx;
class ImodelModule;

class IcmdOpenConstraintsEditor : public IcmdBase {
public:
    using File = boost::shared_ptr<IfileObjectEx>;

    // The registry of the components made for constraint editors: it knows
    // them while they live and is their deleter. It owns none of them until
    // their owner hands one over to be deleted.
    class Collection : public VyIfaces::IComponent::DeleteHelper {
    public:
        Collection() = default;
        // The components it still knows forget it.
        ~Collection() override;
        Collection(const Collection&) = delete;
        Collection& operator=(const Collection&) = delete;

        // Takes the component out of the set and deletes it.
        void DoDelete(std::unique_ptr<VyIfaces::IComponent> component) override;
        // Knows the component and becomes its deleter.
        void Add(VyIfaces::IComponent* component);
        // Forgets every component; they forget it, nothing is deleted.
        void Forget();
        std::set<VyIfaces::IComponent*>& GetComponents() { return m_components; }

    private:
        std::set<VyIfaces::IComponent*> m_components;
    };

    // The design databases (type 4) whose place-and-route description
    // lists the constraint file, both existing.
    class IsDependendingOfFilter : public IfileManagerFilterParent {
    public:
        explicit IsDependendingOfFilter(File constraintFile) : m_file(std::move(constraintFile)) {}
        bool operator()(boost::shared_ptr<IfileObjectEx> candidate) const override;

    private:
        File m_file;
    };

    IcmdOpenConstraintsEditor();
    ~IcmdOpenConstraintsEditor() override;

    std::string GetName() const override { return "edit_constraints"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdOpenConstraintsEditor>(); }
    // A file is required ("FILE_REQUIRED"); it must be one the editor opens
    // ("CONSTRAINT_EDITOR_NO_SUPPORT").
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;

    void SetParams(File file, ImodelModule* module);

    // Runs edit_constraints on the file for the unit (null: none); true
    // when it succeeded.
    static bool DoOpen(File file, ImodelModule* module);
    // Brings the open editor of the file to the front; with `warn` and a
    // unit other than the one it shows, says so ("SAME_PDC_DIFF_MODULE_WARN")
    // and leaves it as it is. False when no editor of the file is open.
    static bool DoActivate(File file, ImodelModule* module, bool warn);
    // Whether an editor of the file is open.
    static bool IsOpened(File file);
    // Opens the file for the unit whose place-and-route database lists it;
    // of several, the host lets the user choose (refusing opens nothing).
    static bool DoOpenFile(File file);
    // The constraints editor is enabled and the type is 22.
    static bool IsFileSupported(zorpaFileManagerTypes type);
    static bool IsFileSupported(File file);
    // Whether the editor can show the ports of the unit.
    static bool CanLoadPorts(ImodelModule* module);
    static std::set<VyIfaces::IComponent*>& GetComponents();
    // Empties the registry without deleting the components (the project
    // closes).
    static void Close();
    // The identity of the editor of a file: its full name alone.
    static VyIfaces::ComponentID GetComponentID(const File& file);

protected:
    static Collection& GetCollection();

private:
    // The component whose editor serves the file: the block design the
    // file belongs to, else a new editor component (`outside`: a file not
    // of the project); null without a workspace.
    VyIfaces::IComponent* GetConstraintsIf(bool outside);

    IcmdTCLFileArg m_file;
    IcmdTCLModuleArg m_module;
};

// Asks whether a file open in one kind of editor is to be closed there
// before it opens in another ("FILE_ALREADY_OPENED"; nobody answering: Yes).
MdbQuery_result IcmdDoAskToClose(const IfileObject& file, const std::string& openIn, const std::string& toOpenIn);

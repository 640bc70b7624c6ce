// import_files: brings files from anywhere on disk into the open project.
//
//   import_files -hdl_source {a.vhd b.vhd} -stimulus tb.vhd -pdc io.pdc ...
//
// One option per kind of file (the kind's key), each taking a Tcl list of
// files and given as often as wanted. A file must have an extension of its
// kind; it is copied into the project folder of its kind (asking before it
// replaces another file there) and added to the design: HDL sources and
// schematics are parsed into design units. IP-core archives, tool profiles,
// the simulator's set-up file and templates go to their own places; core
// files to their core tool. A file that cannot be imported is reported and
// fails the command (result 1) without stopping the other files. The files
// imported become the selection, and a design without a root gets the first
// unit of "work" as its root.
//
// The command also answers the host's file dialogs: the filter strings of
// the kinds a project offers, and which kind takes a file.
#pragma once

#include "icmd/IcmdBase.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"

#include <foundation/AcmdParam.h>
#include <foundation/Mdb.h>
#include <vy/IComponent.h>

#include <boost/shared_ptr.hpp>

#include <deque>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class IfileObject;
class IfileObjectEx;
class Imodel;
class ImodelFileName;

class IcmdImportFiles : public IcmdBase {
public:
    // The option of one kind: a list of file names. Each occurrence of the
    // option is a Tcl list of names, appended to the names given before; a
    // name given twice is kept once.
    class ImportFilesParam : public AcmdFileNameParam {
    public:
        ImportFilesParam(const std::string& key, IcmdImportFiles* owner);
        AcmdEnum::Result SetValueFromText(const char* text) override;
        AcmdEnum::Result SetValueTexts(std::vector<std::string> texts) override;
        // Appends a name not given yet; false when it was.
        bool AddName(const std::string& name);
        // Left out when the command is written back as Tcl while set.
        void SkipAtExport(bool skip) { m_skipAtExport = skip; }
        bool ExportParam() const override { return !m_skipAtExport && AcmdFileNameParam::ExportParam(); }
        // Every name in one option, as a Tcl list: the option's text is read
        // back as a list (SetValueFromText), so a name with blanks stays one.
        void ExportValue(AcmdExportSink& sink) override { sink.ExportTextList(GetName().c_str(), GetValueTexts()); }

    private:
        bool m_skipAtExport = false;
        // The names given, for the look-up of each new one.
        std::unordered_set<std::string> m_names;
    };

    // One kind of file the command imports.
    class ImportFileFilters {
    public:
        using Extensions = std::vector<std::string>;

        ImportFileFilters(zorpaFileManagerTypes type, const std::string& key, const std::string& description,
                          const std::string& extension, ImodelFunctionType tool, IcmdImportFiles* owner);
        ImportFileFilters(zorpaFileManagerTypes type, const std::string& key, const std::string& description,
                          Extensions extensions, ImodelFunctionType tool, IcmdImportFiles* owner);
        virtual ~ImportFileFilters();
        ImportFileFilters(const ImportFileFilters&) = delete;
        ImportFileFilters& operator=(const ImportFileFilters&) = delete;

        // Whether the project of `model` takes files of the kind; with
        // `report` a kind it does not take says why.
        virtual bool IsSupported(Imodel* model, bool report) const;
        // Offered by the Open dialog.
        virtual bool IsEditable() const;
        // Appends the kind's part of a file-dialog filter: "VCD Files (*.vcd)|*.vcd|".
        virtual void AppendFilter(std::string& filter);
        // Whether the extension (case ignored) is the kind's.
        virtual bool IsValidExt(const std::string& extension);
        // The kind's list text stands alone in CreateExtStrList of the command.
        virtual bool UseCreateExtStrListForDisplay() const { return false; }
        virtual zorpaFileManagerTypes GetFileType() const { return m_type; }
        // Imports every file of the option, in order; a file that fails sets
        // `result` to 1 and the next file is imported all the same.
        virtual void importFiles(AcmdEnum::Result& result, std::deque<IfileObject>& added, bool linkMode,
                                 bool updateState);
        virtual void importFile(const IfileObject& file, AcmdEnum::Result& result, std::deque<IfileObject>& added,
                                MdbQuery_result* answer, bool linkMode, bool updateState);
        // Appends the name to the option; false without an option or when it is there.
        virtual bool AddFileObject(const ImodelFileName& name);
        // "(*.vhd; *.v)"; empty without extensions.
        virtual std::string CreateExtStrList();
        // Files whose extension is `extension` (exactly) get `type` instead.
        virtual void AddSpecialFileType(const char* extension, zorpaFileManagerTypes type);
        virtual bool IsDepreciated() const { return m_deprecated; }
        void SetDepreciated() { m_deprecated = true; }

        // Makes the kind's option (a deprecated kind names its replacement).
        void CreateParam();
        ImportFilesParam* GetParam() const { return m_param.get(); }
        bool HasFiles() const;
        std::vector<std::string> GetFiles() const;
        void UpdateExportState();
        // The kind's type or one of its special types is `type`.
        bool IsSupportedType(zorpaFileManagerTypes type) const;
        // The type a file of the kind with that extension gets.
        zorpaFileManagerTypes SpecialTypeOf(const std::string& extension) const;
        const std::string& GetFilterType() const { return m_key; }
        const std::string& GetDescription() const { return m_description; }
        ImodelFunctionType GetToolKind() const { return m_tool; }
        const Extensions& GetExts() const { return m_extensions; }
        const Extensions& GetUpdatedExts();

    protected:
        // "(*.vcd)|*.vcd|"
        virtual std::string CreateFilterStr();
        // Brings the extensions up to date with the project; nothing here.
        virtual void UpdateExtensionMember() {}
        Imodel* GetModel() const;

        Extensions m_extensions;

    private:
        zorpaFileManagerTypes m_type;
        std::string m_description;
        std::string m_key;
        ImodelFunctionType m_tool;
        IcmdImportFiles* m_owner;
        std::unique_ptr<ImportFilesParam> m_param;
        bool m_deprecated = false;
        std::vector<std::pair<std::string, zorpaFileManagerTypes>> m_specialTypes;
    };

    using Filter = boost::shared_ptr<ImportFileFilters>;
    using Filters = std::vector<Filter>;

    // `linkMode`: files are left where they are and added as links.
    IcmdImportFiles(Imodel* model, bool linkMode);
    ~IcmdImportFiles() override;

    std::string GetName() const override { return "import_files"; }
    std::string GetStatus() const override { return "Importing files"; }
    std::unique_ptr<AcmdBase> Clone() const override;
    // Each kind with files must be one the project takes.
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;
    void exitCmdTempObjects() override;
    // Each kind decides whether it needs a project.
    bool NeedProjectOpenedToExecute() const override { return false; }

    void SetUpdateState(bool updateState) { m_updateState = updateState; }
    Imodel* GetModel() const { return m_model; }
    bool IsLinkMode() const { return m_linkMode; }
    const Filters& GetFilters() const { return m_filters; }

    // The project copy of a file: its name and extension in the project
    // folder of its type.
    static IfileObject GetLocalFile(const IfileObject& file);
    // The project place of a block-design component's file.
    static IfileObject GetLocalComponentFile(const IfileObjectEx& file, VyIfaces::IComponent::VyModuleType type);

    // The filter string of the Import dialog and the kinds it offers (the
    // kinds the project takes, deprecated ones aside); false when empty.
    bool GetImportFilesFilter(std::string& filter, Filters& kinds) const;
    // The same for the Open dialog: the editable kinds, then "All Files".
    bool GetOpenFilesFilter(std::string& filter, Filters& kinds) const;
    // The filter part of the kind that takes files of the type.
    bool GetFileFilter(zorpaFileManagerTypes type, std::string& filter) const;
    bool IsSupportedType(zorpaFileManagerTypes type) const;
    // The list text of the offered kinds of the type (of the group, for the
    // constraint and simulation groups 104 and 105 when `group` is given).
    std::string CreateExtStrList(zorpaFileManagerTypes type, const int* group) const;
    // Gives the file to the first offered kind of its type that takes its
    // extension, else to the kind of its type; false when no kind takes it.
    bool AddFileObject(const IfileObject& file);
    // AddFileObject for every file, in order; a file that no kind the
    // project offers takes is reported. False when any was not taken.
    bool AddAllFiles(const std::deque<IfileObjectEx>& files);

protected:
    Filter GetImportFileFilter(zorpaFileManagerTypes type) const;

private:
    Filters GetOfferedFilters() const;
    void BuildFilters();

    Imodel* m_model;
    bool m_linkMode;
    bool m_updateState = true;
    Filters m_filters;
};

// What add_file does for the design tree after each parse, done once for
// many files added with the tree held back (import_files, the project
// update): the views hear of units that several files now define, and,
// with `setRoot`, the root (the first valid one when there is none) is set
// again, so that every view builds its tree from it. Nothing for an empty
// list.
void IcmdUpdateDesignHierarchy(Imodel& model, const std::deque<IfileObject>& added, bool setRoot);

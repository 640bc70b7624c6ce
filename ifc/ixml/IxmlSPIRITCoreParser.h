// The parser of a core's SPIRIT descriptions: what a core brings into a
// project. It reads a core description and, below it, every sub-component
// description it names (each file once, at most 32 levels deep); each file
// read gives one SingleXMLContent: the files of its file sets, the libraries
// it declares, its ".do" files to run. The fixed table of file sets decides
// which sets are understood, which extensions each takes, the type a file
// gets by default and the tool a file is reserved for.
//
// A description names its files relative to its own folder. A name that is
// absolute, or that leads out of the core's folder (the folder of the
// description the reading started from) anywhere but into the project, is
// refused: the file is left out and, unless quiet, the user is told
// (SPIRIT_FILE_OUTSIDE_CORE). The parser changes the read-only attribute of
// files inside the project only.
#pragma once

#include "ifile/IfileObjectEx.h"
#include "imodel/names/ImodelToolKinds.h"
#include "ixml/IxmlSPIRITCoreReader.h"

#include <zorpa/ZorpaLibrary.h>

#include <boost/shared_ptr.hpp>

#include <deque>
#include <set>
#include <string>
#include <utility>
#include <vector>

class ImodelModule;

class IxmlSPIRITCoreParser : public IxmlSPIRITCoreReader {
    // The reading of one description and its sub-components.
    class TreeReading;

public:
    using Library = boost::shared_ptr<ZorpaLibrary<ImodelModule*>>;

    // One name a file set is known by, with the files found under it in the
    // description being read.
    struct FileSetName {
        std::string name;
        // The tool option key of a tool-variant set: "SYNPLIFY7_EXT" or
        // "PRECISION_EXT"; empty for the others.
        std::string optionKey;
        std::deque<IfileObjectEx> files;
        bool found = false;       // a file was taken
        bool skipped = false;     // a file of a wrong extension was left out
        bool referenced = false;  // a view named the set
    };

    // One file set of the table.
    struct ViewReaderStruct {
        FileSetName main;
        FileSetName alternative;           // an empty name: none
        std::vector<FileSetName> subSets;  // tool variants, of the set's type and tool
        zorpaFileManagerTypes fileType = zorpaFT_UNKNOWN;
        std::vector<std::string> extensions;  // empty: every extension
        ImodelFunctionType tool = ideHDLEDITOR;
        bool allTools = true;      // false: reserved for the tool
        bool copyLocally = false;  // copied into the project (".do" files are not)
    };

    // What one description file brings.
    class SingleXMLContent {
    public:
        SingleXMLContent(const IfileObject& xmlFile, const std::string& componentName)
            : m_xmlFile(xmlFile), m_componentName(componentName)
        {
        }

        const std::deque<IfileObjectEx>& GetFiles() const { return m_files; }
        const std::deque<IfileObjectEx>& GetRunDoFiles() const { return m_runDoFiles; }
        const std::deque<Library>& GetLibraries() const { return m_libraries; }
        const std::string& GetComponentName() const { return m_componentName; }
        const IfileObject& GetXMLFile() const { return m_xmlFile; }

        // Brings the content into the open project: its libraries (as
        // precompiled libraries), its files (an HDL file parsed into units),
        // and the files of the unit the description defines. The units the
        // description defines join `modules` when given.
        void AddToModel(const IfileObject& coreFile, const IxmlSPIRITCoreParser& parser,
                        std::set<ImodelModule*>* modules, VyIfaces::IComponent* component) const;

    private:
        friend class IxmlSPIRITCoreParser;
        friend class TreeReading;

        void AddRunDoFile(const IfileObjectEx& file);
        // Its libraries and files into the project; the HDL files added
        // join `sources`.
        void AddFiles(VyIfaces::IComponent* component, bool reading, std::deque<IfileObject>& sources) const;
        // The files of the unit the description defines.
        void AddModuleFiles(bool hdlKind, bool reading, std::set<ImodelModule*>* modules) const;
        void AssociateFiles(ImodelModule& module, bool reading) const;

        std::deque<IfileObjectEx> m_files;
        std::deque<IfileObjectEx> m_runDoFiles;
        std::deque<Library> m_libraries;
        IfileObject m_xmlFile;
        std::string m_componentName;
    };

    // Reads the core file (the reader's work), builds the table and, with
    // `parseNow`, reads the core's contents: a block component's own
    // description, else the description of every component instance the
    // core file lists. `readOnlyImport` makes files read without a local
    // copy read-only; `localCopies` copies files of sets that copy locally
    // even when the copy exists already.
    IxmlSPIRITCoreParser(const IfileObject& coreFile, bool readOnlyImport, const std::string& expectedRoot,
                         VyIfaces::IComponent* component, bool quiet, bool parseNow, bool localCopies);
    ~IxmlSPIRITCoreParser() override;

    // Reads `file` and its sub-components on their own: the contents read
    // before are set aside and put back afterwards. With `addToModel`, what
    // was read is added to the project (AddToModel, with `addCoreFile`).
    // True when the file itself was read.
    bool ParseComponent(const IfileObject& file, bool addToModel, bool addCoreFile, bool quiet,
                        std::set<ImodelModule*>* modules);
    // Adds every content, in reading order, to the open project; with
    // `addCoreFile` the core file becomes a project file first.
    void AddToModel(bool addCoreFile, std::set<ImodelModule*>* modules) const;

    const std::vector<SingleXMLContent>& GetFilesContent() const { return m_contents; }
    const std::vector<ViewReaderStruct>& GetViewReaders() const { return m_readers; }
    bool DoLocalFilesCopies() const { return m_localCopies; }
    bool IsReadOnlyImport() const { return m_readOnlyImport; }
    // The compile option of a core's libraries: precompiled.
    static zorpaCompileOption GetDefaultOptionForPrecompiledLibs() { return ZORPA_REFRESH_AND_COMPILE; }
    // The files made read-only, kept while the model runs its self-tests
    // (Imodel::IsRunningTests) only.
    static std::deque<IfileObject>& GetReadOnlyFiles();
    // False, with the name of the first set (in table order) not fully
    // covered: a named entry that found no file, or skipped one.
    bool IsFilesMapFullyCovered(std::string& failing) const;
    // Appends a copy of `reader` with these extensions and copy choice.
    ViewReaderStruct& AddNewViewReader(const ViewReaderStruct& reader, const std::vector<std::string>& extensions,
                                       bool copyLocally);
    ViewReaderStruct& AddNewViewReader(const ViewReaderStruct& reader, const std::string& extension, bool copyLocally);

    // The unit of a core that no HDL file defines: the module `module`
    // when it holds one, else the unit of that name in the library ("work"
    // when empty), made (kind 4, undefined) when missing; its file becomes
    // `file`. The component's instances become its sub-blocks, each made
    // when missing; an instance that would make the unit instantiate itself
    // is left out. False, with nothing changed, when the unit exists with a
    // file of its own.
    static bool CreateUndefinedModule(boost::shared_ptr<IfileObjectEx> file, const std::string& name,
                                      const std::string& library, VyIfaces::IComponent* component,
                                      ImodelModule*& module);

    // Readies the parser, built for the same core file, to read for another
    // component, with the read-only and local-copy choices the constructor
    // takes: a batch of components reads the core file once.
    void SetComponentChoices(VyIfaces::IComponent* component, bool readOnlyImport, bool localCopies);

private:
    void initViewReader();
    // Adds the contents, each with the component handed on: every file
    // first, then the files of each unit.
    void AddContents(const std::vector<std::pair<const SingleXMLContent*, VyIfaces::IComponent*>>& contents,
                     std::set<ImodelModule*>* modules) const;
    // Reads `file` and its sub-components, depth first; the result is that
    // of `file` itself.
    bool ReadTree(const IfileObject& file, const IfileObject* referring, bool quiet);

    std::vector<ViewReaderStruct> m_readers;
    std::vector<SingleXMLContent> m_contents;
    bool m_readOnlyImport;
    bool m_localCopies;
};

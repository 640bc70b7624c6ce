// Where the HDL simulator finds the device family's precompiled library: a
// custom path kept in the project, or the default built from the suite's
// options. The project model owns one; copyable.
#pragma once

#include <ostream>
#include <string>

class ItoolModelSimPathOptions {
public:
    ItoolModelSimPathOptions() = default;
    ItoolModelSimPathOptions(const ItoolModelSimPathOptions&) = default;
    ItoolModelSimPathOptions& operator=(const ItoolModelSimPathOptions&) = default;
    virtual ~ItoolModelSimPathOptions() = default;

    // Equal when both the use-custom flag and the path are equal.
    bool operator==(const ItoolModelSimPathOptions& other) const;
    // No custom path, empty path.
    void SetDefault();

    bool GetUseCustomPath() const { return m_useCustomPath; }
    void SetUseCustomPath(bool use) { m_useCustomPath = use; }
    const std::string& GetLibraryPath() const { return m_libraryPath; }
    void SetLibraryPath(const std::string& path) { m_libraryPath = path; }
    // The project file's two lines: "UseCustomPath=TRUE|FALSE" and
    // "LibraryPath=<path>"; nothing for a null stream.
    void WriteToProject(std::ostream* stream) const;
    // One line of the project file: "UseCustomPath" is on only for "TRUE",
    // "LibraryPath" sets the path; other keys change nothing.
    void ReadFromProject(const std::string& key, const std::string& value);

    // The simulator's library name of a family (`fam`) and the library
    // sub-folder for the language, read for `family` when given, else for
    // the suite's current family ("FAM").
    static void GetModelSimFam(std::string& fam, std::string& subdir, bool vhdl, const std::string* family);
    // The default library path: root, sub-folder and library name; false
    // (empty) when the root folder option is not set.
    static bool GetModelDefaultLibPath(std::string& out, bool vhdl, const std::string* family);
    // The project's custom path when it uses one, else the default.
    static bool GetModelLibPath(std::string& out, bool vhdl, const std::string* family = nullptr);

private:
    bool m_useCustomPath = false;
    std::string m_libraryPath;
};

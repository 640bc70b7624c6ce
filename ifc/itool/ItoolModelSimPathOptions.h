// Where the HDL simulator finds the device family's precompiled library: a
// custom path kept in the project, or the default built from the suite's
// options. The project model owns one; copyable.
//
// The user's own choice is also remembered per family and language in the
// options database ("IDE_MODELSIM_USER_<VHDL|VLOG>_LIB_LOC_<family>" and
// "..._USE_CUSTOM_<family>"), so that a new project of the same family starts
// from it.
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
    // "LibraryPath" sets the path (an empty one takes the user's remembered
    // path for the project's family and language); other keys change nothing.
    void ReadFromProject(const std::string& key, const std::string& value);

    // The names of the user's remembered path and use-custom flag for a
    // family and language.
    static void GetDefVarName(std::string& pathVar, std::string& useVar, const std::string& family, bool vhdl);
    // The simulator's library name of a family (`fam`) and the library
    // sub-folder for the language, read for `family` when given, else for
    // the suite's current family ("FAM").
    static void GetModelSimFam(std::string& fam, std::string& subdir, bool vhdl, const std::string* family);
    // The default library path: root, sub-folder and library name; false
    // (empty) when the root folder option is not set.
    static bool GetModelDefaultLibPath(std::string& out, bool vhdl, const std::string* family);
    // The project's custom path when it uses one, else the default.
    static bool GetModelLibPath(std::string& out, bool vhdl, const std::string* family = nullptr);
    // The simulator set-up file's mapping of the family's library:
    // "<library> = <path>" with "/" separators; false (empty) when the path
    // is unknown or empty, or the family has no library name.
    static bool GetModelLibPathLine(std::string& out, bool vhdl, const std::string* family);

    // Remembers the project's choice for the current family and language
    // in the user's options: the path when a custom one is used, and the
    // use-custom flag when it differs from the remembered one. `saved` is
    // set when the current device has a family (the user's options may
    // then need flushing); nothing happens otherwise.
    void SaveCustomPath(bool& saved) const;
    // The user's remembered path and flag for the family and language are
    // this object's (an unset flag counts as off).
    bool IsSameConfigThanDef(const std::string& family, bool vhdl) const;
    // Takes the user's remembered choice for `family`, unless the object
    // holds a choice of its own for `oldFamily` (it differs from what the
    // user remembered there). Without a remembered path for `family` the
    // custom path is off, and emptied when an old family is given.
    void GetNewCustomPathFromDef(const std::string& oldFamily, const std::string& family, bool vhdl);

    // Whether the folder holds a compiled simulator library that the host
    // can list (the folder exists, holds "_info" and the host lists at least
    // one entry); `vhdl` is then false when an entry's name holds "@" (a
    // Verilog library).
    static bool GetLibraryType(const std::string& path, bool& vhdl);
    // The same for the project's custom path; false when none is used.
    bool GetLibraryType(bool& vhdl) const;

private:
    bool m_useCustomPath = false;
    std::string m_libraryPath;
};

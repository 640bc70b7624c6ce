// IfileObject: the value that names one project file everywhere: in
// commands, in the file lists of modules, in the flow and in the project
// file. It holds the stored name, the specific file type and optional
// client data, and turns the stored name into every other form.
//
// A name that the line-oriented project file cannot hold (a line break or a
// double quote) is refused where the value is made ("INVALID_NAME_CHAR"):
// the value then names no file (an empty name), which the file manager
// refuses in turn.
//
// The stored name of a file kept relative to the project is "<project>",
// "/" and the path below the project folder; any other file is stored by its
// absolute path. Separators are always "/".
//
// Equality is the model's file-name equality of the stored names ("<project>"
// on one side, separators and letter case do not matter); order is the
// plain text order, so two values may be equal and still be ordered apart.
#pragma once

#include "imodel/names/ImodelFileName.h"
#include "imodel/names/ImodelFileTypes.h"

#include <boost/shared_ptr.hpp>
#include <zorpa/ZorpaModule.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class Iconvert;

class IfileObject {
public:
    // An empty name of type 5 ("???").
    IfileObject();
    // The name in the given form; with `usePrjVar`, a file inside the
    // project folder is stored relative to "<project>". Without `allowLink`,
    // a file outside the project while linking is disabled is traced.
    IfileObject(const ImodelFileName& name, zorpaFileManagerTypes type, ImodelFMStringFileType form, bool allowLink,
                bool usePrjVar);
    // A value read from its project-file line (name, ",", type keyword),
    // the converters of an older project asked along the way.
    IfileObject(const std::string& line, const std::vector<Iconvert*>& converters);
    // The client data is shared, not cloned.
    IfileObject(const IfileObject& other) = default;
    IfileObject(IfileObject&& other) noexcept = default;
    IfileObject& operator=(const IfileObject& other) = default;
    IfileObject& operator=(IfileObject&& other) noexcept = default;
    virtual ~IfileObject() = default;

    // The pre-synthesis flag of the type; false outside the type table.
    virtual bool IsPreSynthFileType() const;

    // Gives the value a new name in the given form (see the constructor).
    void SetFileName(const ImodelFileName& name, ImodelFMStringFileType form, bool usePrjVar);

    // --- names --------------------------------------------------------------

    const ImodelFileName& GetInternalFileName() const { return m_name; }
    // The stored name upper-cased. Indexes of files use the file-name key
    // (ImodelFileNameKey), which also knows the "<project>" token.
    ImodelFileName GetMapKey() const;
    // The absolute path ("<project>" resolved against the project folder).
    // Joined once and kept: the reference stays valid while the value lives
    // and holds the same name under the same project folder.
    const ImodelFileName& GetFullFileName() const;
    // The full name up to its last separator; empty when that separator is
    // the first character or there is none.
    ImodelFileName GetFileLocation() const;
    // The stored name after its last separator (all of it when that
    // separator is the first character or there is none).
    std::string GetFileTitleAndExt() const;
    // The title less its extension; unchanged when its only dot is its first
    // character or it has none.
    std::string GetFileTitleNoExt() const;
    // The text after the last "." of the title; empty (and traced) when the
    // title has no dot or only a leading one.
    std::string GetExt() const;
    // Whether the file name has exactly one dot that is neither its first
    // nor its last character (any number of dots when the stored name has no
    // folder part).
    bool HasValidExt() const;
    // Whether the full name lies strictly below `folder` (file-name equality,
    // "." and ".." of both resolved first).
    bool IsInFolder(const ImodelFileName& folder) const;
    // Stored relative to "<project>", or inside the project folder; a name
    // that climbs out of the folder with ".." is neither.
    bool IsLocalFile() const;
    // The name below the project folder for a file stored relative to
    // "<project>" that stays inside the folder; false (and empty) for every
    // other file.
    bool GetRelativeFileName(ImodelFileName& out) const;
    ImodelFileName GetRelativeOrFullFileName() const;
    // The folder part of the relative name (empty for a file directly in
    // the project folder); false (and empty) without a relative name.
    bool GetRelativeFolder(ImodelFileName& out) const;
    // Whether that relative folder is `folder` (compared as file names),
    // asked without making the name: the file watcher asks it of every file.
    bool IsInRelativeFolder(std::string_view folder) const;
    ImodelFileName GetRelativeOrFullFolder() const;
    ImodelFileName GetDisplayFileName() const;
    // The title, followed by " (Link to: <full name>)" for a file outside
    // the project.
    std::string GetLinkToDisplayFileName() const;
    // The title; a synthesis result with a relative name is shown relative
    // to the default folder of its type.
    std::string GetRelativeDisplayFileName() const;
    // The relative name (folder) rewritten relative to a project-relative
    // folder; the full name (location) without a relative name.
    ImodelFileName GetFileNameRelativeTo(const ImodelFileName& folder) const;
    ImodelFileName GetFolderRelativeTo(const ImodelFileName& folder) const;
    // The name in the given form; false when that form does not exist for
    // the file (then the full name).
    bool GetFileNameString(ImodelFileName& out, ImodelFMStringFileType form) const;
    // "${variable}/<relative name or folder>", or the absolute text when the
    // file (folder) has no non-empty relative form.
    std::string GetPathUsingPrjVar(bool folderOnly, const char* variable) const;

    // --- types and predicates -------------------------------------------------

    zorpaFileManagerTypes GetFileType() const { return m_type; }
    // The file watcher sorts the files it finds into types after it made them.
    void SetFileType(zorpaFileManagerTypes type) { m_type = type; }
    zorpaFileManagerTypes GetFileSpecificType() const { return m_type; }
    int GetFileGlobalType() const;
    bool GetStrType(std::string& out) const;
    bool IsBinaryFile() const;
    // Whether the file is an HDL source; `isVHDL` then tells its language
    // (left as given for an extension that does not decide).
    bool IsFileHDL(bool& isVHDL) const;
    // The specific type of `group` for the name, 5 when it falls outside the
    // type table (traced).
    // The kind of design unit the file defines: a schematic, a VHDL or a
    // Verilog unit; unknown for every other type.
    zorpaModuleTypes GetModuleType() const;
    static zorpaFileManagerTypes GetSafeFileType(int group, const ImodelFileName& name);
    // The specific type of a constraint file, from its extension and the
    // suffix of its name.
    static zorpaFileManagerTypes GetConstrFileType(const ImodelFileName& name);

    // The place-and-route view the file belongs to (it lies in
    // "pallador/impl<n>" of the project or one folder below); -1 for none.
    int GetRevNum() const;
    bool IsRevSpecific() const { return GetRevNum() != -1; }
    // True for a file of no view, else whether its view is the current one.
    bool IsInCurRev() const;

    // --- comparison ---------------------------------------------------------------

    bool operator==(const IfileObject& other) const;
    bool operator!=(const IfileObject& other) const { return !(*this == other); }
    bool operator<(const IfileObject& other) const;

    // Predicates over file values.
    class IsSameFileParent {
    public:
        virtual bool operator()(const IfileObject& file) const = 0;

    protected:
        ~IsSameFileParent() = default;
    };
    // Matches files equal to a given one (the value must outlive it).
    class IsSameFile : public IsSameFileParent {
    public:
        explicit IsSameFile(const IfileObject& file) : m_file(&file) {}
        bool operator()(const IfileObject& file) const override { return file == *m_file; }
        virtual ~IsSameFile() = default;

    private:
        const IfileObject* m_file;
    };
    // Matches files whose name in the given form exists and equals `name`.
    class IsSameFileName : public IsSameFileParent {
    public:
        IsSameFileName(const char* name, ImodelFMStringFileType form) : m_name(name), m_form(form) {}
        bool operator()(const IfileObject& file) const override;
        // What it looks for, so that a lookup can use an index.
        const ImodelFileName& GetName() const { return m_name; }
        ImodelFMStringFileType GetForm() const { return m_form; }

    private:
        ImodelFileName m_name;
        ImodelFMStringFileType m_form;
    };

    // --- client data --------------------------------------------------------------

    void SetClientData(const boost::shared_ptr<void>& data)
    {
        if (data) NoteClientDataGiven();
        m_clientData = data;
    }
    // False until a file is first given a host's data: no file holds any
    // till then, and a walk looking for such data need not be made.
    static bool AnyClientDataGiven();
    const boost::shared_ptr<void>& GetClientData() const { return m_clientData; }
    bool HasClientData() const { return m_clientData.get() != nullptr; }
    void RemoveClientDataRef() { m_clientData.reset(); }

    // --- project-file line --------------------------------------------------------

    // The stored name, "," and the type keyword.
    std::string GetWriteFileLine() const;
    // `VALUE "<file line>"` and an end of line; nothing for a null stream.
    void Write(std::ostream* stream) const;
    // Splits a text at every ",": each piece before a comma, then the rest.
    static void ParseFileLine(const std::string& line, std::vector<std::string>& pieces);
    // Translates a type keyword (older keywords and the converters' first);
    // false, with `type` unchanged, for a keyword nobody knows.
    static bool ReadStrType(const std::string& keyword, zorpaFileManagerTypes& type,
                            const std::vector<Iconvert*>& converters);

protected:
    // Reads a project-file line: the name is the text before the line's
    // last comma, the type keyword the text after it.
    bool ReadFromFile(const std::string& line, const std::vector<Iconvert*>& converters);
    // Moves the name's texts to `out` where they are on the heap, leaving
    // the file nameless: for a file about to die whose memory is freed
    // elsewhere.
    void MoveHeapTextsOut(std::vector<std::string>& out);
    // Moves `text` to `out` when its characters are on the heap.
    static void MoveHeapText(std::string& text, std::vector<std::string>& out)
    {
        if (text.capacity() > std::string().capacity()) out.push_back(std::move(text));
    }

private:
    // The full name last joined for a project-relative name. A reading of a
    // project asks it of each file a dozen times. It holds while the folder
    // keeps the stamp it was joined under (the folder's stamp changes with
    // it) and the name is not set again (which clears the stamp); without
    // one, the text is checked against the folder and the name. A copy
    // starts without one (copies are made far more often than asked for
    // their full name).
    struct FullName {
        FullName() = default;
        FullName(const FullName&) {}
        // The name it was joined from leaves with the move: so does the stamp.
        FullName(FullName&& other) noexcept { other.stamp = 0; }
        FullName& operator=(const FullName&) noexcept { return Forget(); }
        FullName& operator=(FullName&& other) noexcept
        {
            other.stamp = 0;
            return Forget();
        }
        FullName& Forget() noexcept
        {
            text.clear();
            stamp = 0;
            return *this;
        }
        ImodelFileName text;
        std::uint64_t stamp = 0;
    };

    void StoreName(std::string name);
    static void NoteClientDataGiven();

    ImodelFileName m_name;
    mutable FullName m_full;
    zorpaFileManagerTypes m_type = zorpaFT_UNKNOWN;
    boost::shared_ptr<void> m_clientData;
};

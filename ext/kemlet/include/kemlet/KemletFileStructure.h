// The project file (".prj") parsed once into keys and named blocks, which
// each reader of the project then asks for by name.
//
// The file is read line by line. A line ends at a line feed or a carriage
// return, and a CRLF ends one line, so LF, CRLF and CR files read alike.
// Lines may be of any length.
//
//   KEY <name> "<value>"  a key. The name runs to the next blank. The value
//                         is the text between the first double quote after
//                         the name and the last one on the line; without a
//                         closing quote it is the rest of the line, and
//                         without any quote the rest of the line after the
//                         blanks. Keys stand at the top level only: a line
//                         beginning with "KEY " inside a block ends that
//                         block (and every block around it) as
//                         unterminated, so a lost ENDLIST never hides the
//                         keys that follow.
//   LIST <name>           a line beginning with "LIST " opens a block named
//                         by the rest of the line, trailing blanks removed.
//                         A block opened inside another one is nested: it
//                         belongs to its parent, whose lines hold it whole
//                         (its LIST line, its lines, its ENDLIST line).
//   ENDLIST               a line beginning with "ENDLIST" closes the
//                         innermost open block. Outside any block it is
//                         ignored, with a debug line.
//   other lines           inside a block they are its lines; a line
//                         `VALUE "<text>"` (blanks after the closing quote
//                         allowed) is delivered as its text, and without a
//                         closing quote as the rest of the line, while a
//                         VALUE line with more after its closing quote (the
//                         older state lines) stays as written. Outside any
//                         block no reader asks for them: they are skipped.
//
// A block still open at the end of the file ends there and is marked
// unterminated. A block without its ENDLIST, or an ENDLIST outside any
// block (its LIST line lost), makes the text damaged (Damage): what belongs
// to which block is no longer known. A name may occur more than once: a
// lookup gives the first key or block of that name in file order, and
// taking it (the `take` flag) removes it, so that the next lookup gives the
// next one. Only top-level blocks are found by name; nested ones are read
// from their parent's lines.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One key of the project file.
class ImodelFileObject_KEY {
public:
    ImodelFileObject_KEY(std::string name, std::string value) : m_name(std::move(name)), m_value(std::move(value)) {}

    const std::string& GetName() const { return m_name; }
    // The text between the double quotes.
    const std::string& GetValue() const { return m_value; }

private:
    std::string m_name;
    std::string m_value;
};

// One top-level block of the project file. Its lines are kept as one text:
// a block may hold a line per view or per member, a hundred thousand, and a
// string of its own per line cost an allocation each; a reader that can
// take views takes them from that text, and the strings are made only for a
// reader that asks for them.
class ImodelFileObject_LIST {
public:
    // The lines are copied into the block's text.
    ImodelFileObject_LIST(std::string name, const std::vector<std::string_view>& lines, bool terminated);

    const std::string& GetName() const { return m_name; }
    std::size_t GetLineCount() const { return m_ends.size(); }
    // The i-th line between the opening line and its ENDLIST, in file order,
    // as read (whatever a reader did to the strings of GetLines).
    std::string_view GetLine(std::size_t i) const
    {
        const std::size_t start = i == 0 ? 0 : m_ends[i - 1];
        return std::string_view(m_text).substr(start, m_ends[i] - start);
    }
    // Every line so, valid while the block lives unchanged.
    std::vector<std::string_view> GetLineViews() const;
    // The lines as strings, made at the first call; a reader may take them.
    std::vector<std::string>& GetLines();
    const std::vector<std::string>& GetLines() const;
    // False when the file ended, or a key line came, before its ENDLIST.
    bool IsTerminated() const { return m_terminated; }

private:
    std::string m_name;
    std::string m_text;               // the lines one after the other
    std::vector<std::size_t> m_ends;  // where each line ends in the text
    mutable std::optional<std::vector<std::string>> m_lines;
    bool m_terminated;
};

class KemletFileStructure {
public:
    virtual ~KemletFileStructure() = default;

    // Parses the file, replacing what an earlier read gave. With a non-empty
    // `stop`, parsing ends after the first top-level line that begins with
    // it (that line is still read). False, with nothing changed, when the
    // file cannot be read.
    virtual bool Read(const char* fileName, const std::string& stop) = 0;
    // The same over the file's text already in memory; `source` names it in
    // debug lines.
    virtual void Parse(const char* source, const std::string& text, const std::string& stop) = 0;
    // The first key of that name, a copy, or with `take` the key itself,
    // removed from the structure; null when there is none.
    virtual std::unique_ptr<ImodelFileObject_KEY> GetKEY(const char* name, bool take) = 0;
    // The first top-level block of that name, likewise.
    virtual std::unique_ptr<ImodelFileObject_LIST> GetLIST(const char* name, bool take) = 0;
    // The first top-level block of that name as the structure holds it,
    // neither copied nor taken (large blocks are read in place); null when
    // there is none. Valid until the structure changes.
    virtual const ImodelFileObject_LIST* PeekLIST(const char* name) const = 0;
    // What shows the last parse's text damaged, the first such thing found
    // ("the list 'X' has no ENDLIST"); empty when nothing does.
    virtual const std::string& Damage() const = 0;

protected:
    KemletFileStructure() = default;
    KemletFileStructure(const KemletFileStructure&) = delete;
    KemletFileStructure& operator=(const KemletFileStructure&) = delete;
};

// A new, empty structure; the caller frees it with KemletFileDeleteStructure.
KemletFileStructure* KemletFileGetNewStructure();
// Frees the structure and sets the pointer to null.
void KemletFileDeleteStructure(KemletFileStructure*& structure);

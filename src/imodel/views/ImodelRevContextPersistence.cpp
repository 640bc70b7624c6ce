// The flow state of a design unit in the project file: one block per view
// inside the unit's state block, and the older layouts that had no view
// blocks and kept lists of the files up to date and out of date.
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "imodel/views/ImodelToolStatesManager.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "src/imodel/names/imodelLineCursor.h"
#include "src/imodel/views/imodelContextNotify.h"
#include "src/imodel/views/imodelRevisionManagerImpl.h"

#include <optional>
#include <unordered_map>

namespace {

const std::string kSolvatoState = "SolvatoState";
const std::string kFlowOptions = "LIST FlowOptions";
const std::string kFilesOutOfDate = "LIST Files Out Of Date";
const std::string kFilesUpToDate = "LIST Files Up To Date";
const std::string kUsedFiles = "Used_File_List";
const std::string kEndUsedFiles = "ENDUsed_File_List";

// The name of the block a "LIST" line opens: what follows "LIST ".
std::string BlockName(const std::string& line) { return line.size() > 5 ? line.substr(5) : std::string(); }

}  // namespace

// Reads the lines of one view's block from a cursor into a revision, or,
// without a revision, skips them. The block ends at its "ENDLIST", or
// before a line that opens a sibling view's block or another module's block:
// a missing "ENDLIST" costs the rest of this block only.
class imodelRevisionBlockReader {
public:
    struct Input {
        const ImodelFileTypeList& knownNames;
        bool matchNames;
        const std::vector<Iconvert*>& converters;
        bool& useSynthRead;
    };

    // `siblings` is the module context whose views the block may be
    // followed by; null when there is none.
    imodelRevisionBlockReader(imodelLineCursor& cursor, const ImodelContextImpl* siblings, const Input& input)
        : m_cursor(cursor), m_siblings(siblings), m_input(input)
    {
    }

    // True when the block's "ENDLIST" was read.
    bool Read(ImodelRevContextImpl* revision, const ImodelFileTypeList& otherNames, std::vector<std::string>& outOfDate)
    {
        while (!m_cursor.AtEnd()) {
            const std::string& next = m_cursor.Peek();
            if (imodelIsListLine(next) && !IsSubBlock(next) && EndsBlock(next)) return false;
            const std::string line = m_cursor.Take();
            if (imodelIsEndListLine(line)) return true;
            if (imodelBeginsWith(line, kSolvatoState)) {
                ReadDesignState(revision, line);
            } else if (imodelBeginsWith(line, kFilesOutOfDate)) {
                ReadFileList(revision, otherNames, &outOfDate);
            } else if (imodelBeginsWith(line, kFilesUpToDate)) {
                ReadFileList(revision, otherNames, nullptr);
            } else if (imodelBeginsWith(line, kFlowOptions)) {
                std::vector<std::string> body = imodelTakeListBody(m_cursor);
                if (revision) revision->m_flowOptions.ReadFlowOptions(body, m_input.useSynthRead);
            } else if (imodelBeginsWith(line, kUsedFiles)) {
                ReadUsedFiles(revision, imodelTakeBody(m_cursor, kEndUsedFiles));
            } else if (imodelIsListLine(line)) {
                imodelSkipBlock(m_cursor);  // a block this version does not know
            } else if (revision) {
                revision->m_toolStates.ReadToolState(line, revision->m_module, revision, m_input.converters);
            }
        }
        return false;
    }

private:
    static bool IsSubBlock(const std::string& line)
    {
        for (const std::string* prefix : {&kFilesOutOfDate, &kFilesUpToDate, &kFlowOptions})
            if (imodelBeginsWith(line, *prefix)) return true;
        return false;
    }

    bool EndsBlock(const std::string& line) const
    {
        return imodelIsModuleListLine(line) || (m_siblings && m_siblings->FindRevision(BlockName(line)));
    }

    static void ReadDesignState(ImodelRevContextImpl* revision, const std::string& line)
    {
        const std::size_t equals = line.find('=');
        imodelSolvatoState state = Pre_Synthesis;
        if (revision && equals != std::string::npos && equals + 1 < line.size() &&
            ImodelReadSolvatoString(state, line.substr(equals + 1)))
            revision->SetSolvatoState(state);
    }

    void ReadFileList(const ImodelRevContextImpl* revision, const ImodelFileTypeList& otherNames,
                      std::vector<std::string>* out)
    {
        std::vector<std::string> body = imodelTakeListBody(m_cursor);
        if (revision) ImodelReadFileList(body, m_input.knownNames, otherNames, m_input.matchNames, out);
    }

    // A used file replaces the one of its type read before it: a view uses
    // one file per type.
    void ReadUsedFiles(ImodelRevContextImpl* revision, const std::vector<std::string>& body) const
    {
        if (!revision) return;
        ImodelRevContextImpl::UsedFiles used;
        for (const std::string& line : body) {
            const IfileObject file(line, m_input.converters);
            if (file.GetInternalFileName().empty()) continue;
            const zorpaFileManagerTypes type = file.GetFileSpecificType();
            std::erase_if(used, [type](const IfileObject& other) { return other.GetFileSpecificType() == type; });
            used.push_back(file);
        }
        revision->ReplaceUsedFiles(std::move(used));
    }

    imodelLineCursor& m_cursor;
    const ImodelContextImpl* m_siblings;
    const Input& m_input;
};

// --- tool states -------------------------------------------------------------------------------

void ImodelContextToolStatesManager::WriteToolStates(std::ostream* stream) const
{
    if (!stream) return;
    for (const ImodelContextToolStatesObject& object : m_objects) {
        if (object.GetState() == StateNoResult) continue;
        std::string tool;
        std::string state;
        ImodelWriteToolNameString(object.GetKind(), tool);
        ImodelWriteToolStateString(object.GetState(), state);
        if (tool.empty() || state.empty()) continue;
        const IfileObject* file = object.GetFile();
        if (file && !ImodelCheckQuotable(*stream, file->GetInternalFileName(), "file name")) continue;
        *stream << tool;
        if (file) *stream << '(' << file->GetWriteFileLine() << ')';
        *stream << '=' << state << '\n';
    }
}

void ImodelContextToolStatesManager::ReadToolState(const std::string& line, ImodelModule*, ImodelRevContextImpl*,
                                                   const std::vector<Iconvert*>& converters)
{
    // A file's name may hold "=" and a state keyword never does: the state
    // follows the last one.
    const std::size_t equals = line.rfind('=');
    if (equals == std::string::npos) return;
    std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    std::optional<IfileObject> file;
    const std::size_t open = key.find('(');
    if (open != std::string::npos && key.back() == ')' && key.size() >= open + 4) {
        file.emplace(key.substr(open + 1, key.size() - open - 2), converters);
        if (file->GetInternalFileName().empty()) return;
        key.erase(open);
    }
    ImodelFunctionType kind = ideSYNTHESIS;
    imodelToolState state = StateNoResult;
    if (key.empty() || value.empty() || !ImodelReadToolNameString(kind, key) ||
        !ImodelReadToolStateString(state, value))
        return;
    const Counts before = Held();
    if (const ImodelContextToolStatesObject* found = FindObject(kind, file ? &*file : nullptr))
        const_cast<ImodelContextToolStatesObject*>(found)->SetState(state);
    else if (file) {
        m_objects.emplace_back(kind, *file, state);
        Indexed(*file);
    } else
        m_objects.emplace_back(kind, state);
    Recount(before);
}

// --- one view ----------------------------------------------------------------------------------

void ImodelRevContextImpl::WriteStates(std::ostream* stream) const
{
    if (!stream || !ImodelCheckOneLine(*stream, m_name, "view name")) return;
    *stream << "LIST " << m_name << '\n';
    if (m_state != Pre_Synthesis) {
        std::string keyword;
        ImodelWriteSolvatoString(m_state, keyword);
        *stream << kSolvatoState << '=' << keyword << '\n';
    }
    m_toolStates.WriteToolStates(stream);
    m_flowOptions.WriteFlowOptions(stream);
    IfileWriteFileList(m_usedFiles.Get(), stream, kUsedFiles.c_str(), kEndUsedFiles.c_str());
    *stream << "ENDLIST\n";
}

void ImodelRevContextImpl::ReadStates(std::vector<std::string>& lines, std::string& line, bool& useSynthRead,
                                      const ImodelFileTypeList& knownNames, const ImodelFileTypeList& otherNames,
                                      bool matchNames, std::vector<std::string>& outOfDate,
                                      const std::vector<Iconvert*>& converters)
{
    if (lines.empty()) return;
    imodelContextWillChange(m_module);
    imodelLineCursor cursor(lines, line);
    const imodelRevisionBlockReader::Input input{knownNames, matchNames, converters, useSynthRead};
    imodelRevisionBlockReader(cursor, m_module ? m_module->GetContext() : nullptr, input)
        .Read(this, otherNames, outOfDate);
    line = cursor.Last();
    cursor.EraseTaken(lines);
}

// --- the module ----------------------------------------------------------------------------------

void ImodelContextImpl::WriteStates(std::ostream* stream) const
{
    // Pending revisions are all alike: none to write when one is in its default state.
    if (!stream || (Pending() && IsInDefaultState())) return;
    for (const auto& revision : Revisions())
        if (!revision->IsInDefaultState()) revision->WriteStates(stream);
}

void ImodelContextImpl::ReadStates(std::vector<std::string>& lines, std::string& line, bool& useSynthRead,
                                   const ImodelFileTypeList& knownNames, const ImodelFileTypeList& otherNames,
                                   bool matchNames, std::vector<std::string>& outOfDate,
                                   const std::vector<Iconvert*>& converters)
{
    if (lines.empty()) return;
    imodelContextWillChange(m_module);
    imodelLineCursor cursor(lines);
    const imodelRevisionBlockReader::Input input{knownNames, matchNames, converters, useSynthRead};
    imodelRevisionBlockReader reader(cursor, this, input);
    bool closed = false;
    if (!cursor.AtEnd() && !imodelIsEndListLine(cursor.Peek()) && !imodelBeginsWith(cursor.Peek(), "LIST")) {
        // A block of an older project: the states of its one view.
        closed = reader.Read(Current(), otherNames, outOfDate);
        if (Current()) RestorePre71FileStates(outOfDate, Current());
    }
    ImodelRevisionManager* views = Imodel::GetInstance().GetRevisionManager();
    while (!closed && !cursor.AtEnd() && !imodelIsModuleListLine(cursor.Peek())) {
        const std::string opening = cursor.Take();
        if (imodelIsEndListLine(opening)) break;
        if (!imodelBeginsWith(opening, "LIST")) continue;
        const std::string name = BlockName(opening);
        // The states of a view the copy of a project left out are not
        // given to a new view of its name.
        ImodelRevContextImpl* revision = name.empty() || imodelIsViewDroppedOnRead(name) ? nullptr : FindRevision(name);
        std::vector<std::string> viewOutOfDate;
        // An older project named the files of another view as that view's
        // description file names them.
        ImodelFileTypeList description;
        const bool ownNames = revision && matchNames && !IsCurRevContext(revision);
        if (ownNames && views) views->ReadViewDescription(description, views->GetRevisionNumber(name));
        reader.Read(revision, ownNames ? description : otherNames, viewOutOfDate);
        if (revision) RestorePre71FileStates(viewOutOfDate, revision);
    }
    line = cursor.Last();
    cursor.EraseTaken(lines);
}

// --- out-of-date files of older projects --------------------------------------------------------------

namespace {

std::string IndexKey(const std::string& name) { return ImodelFileNameKey(name); }

// The project's files by full name and by name alone (the first file of a
// name wins), letter case ignored: one pass over the files for all names.
class ProjectFileIndex {
public:
    explicit ProjectFileIndex(IfileManager& files)
    {
        std::vector<IfileManager::Entry> entries;
        files.GetFiles(entries, 0, nullptr);
        for (const IfileManager::Entry& entry : entries) {
            if (!entry) continue;
            m_byName.emplace(IndexKey(entry->GetFullFileName().GetString()), entry);
            m_byName.emplace(IndexKey(entry->GetFileTitleAndExt()), entry);
        }
    }

    IfileManager::Entry Find(const std::string& name) const
    {
        const IfileObject value(ImodelFileName(name), zorpaFT_UNKNOWN, ImodelFMInternal, true, false);
        for (const std::string& key : {IndexKey(value.GetFullFileName().GetString()), IndexKey(name)}) {
            const auto found = m_byName.find(key);
            if (found != m_byName.end()) return found->second;
        }
        return {};
    }

private:
    std::unordered_map<std::string, IfileManager::Entry> m_byName;
};

}  // namespace

void ImodelContextImpl::RestorePre71FileStates(const std::vector<std::string>& names,
                                               const ImodelRevContextImpl* revision) const
{
    IfileManager* files = Imodel::GetInstance().GetFileManager();
    if (!files || names.empty()) return;
    const ProjectFileIndex index(*files);
    const ImodelRevisionManager* views = Imodel::GetInstance().GetRevisionManager();
    const int view = revision && views ? views->GetRevisionNumber(revision->GetName()) : -1;
    for (const std::string& name : names) {
        IfileManager::Entry entry = index.Find(name);
        if (!entry) continue;
        if (entry->IsRevSpecific()) {
            // The file of the same name in the folder of this revision's view.
            ImodelFileName relative;
            if (view == -1 || !ImodelGetRelativeFileName(entry->GetFileTitleAndExt(), relative, false,
                                                         entry->GetFileSpecificType(), ImodelGetFullPathParam(view)))
                continue;
            entry = files->GetFile(IfileObject(relative, entry->GetFileSpecificType(), ImodelFMRelative, true, true));
            if (!entry) continue;
        }
        entry->SetFileState(imodelFileOutOfDate);
    }
}

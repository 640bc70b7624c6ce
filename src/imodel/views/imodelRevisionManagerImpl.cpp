#include "src/imodel/views/imodelRevisionManagerImpl.h"

#include "ievent/IeventClasses.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelChunkedText.h"
#include "imodel/names/ImodelCopyDirTool.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelGetFullPathParam.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/IprocessManager.h"
#include "itimer/ItimerManager.h"

#include <foundation/AcmdBase.h>
#include <foundation/AcmdManager.h>
#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_set>

namespace {

const char* const kDefaultViewName = "Impl";
const char* const kViewDescription = "impl.prj_pld";

Imodel& Model() { return Imodel::GetInstance(); }
ImodelDesignManager& Design() { return *Model().GetDesignManager(); }

template <class Event, class... Args>
void Send(Args... args)
{
    Model().SendEvent(boost::make_shared<Event>(args...), true);
}

// Applies a change to the context of every design unit.
class ContextChange : public ImodelModifyModuleFtor {
public:
    explicit ContextChange(std::function<void(ImodelContextImpl&)> change) : m_change(std::move(change)) {}
    bool operator()(ImodelModule* module) const override
    {
        if (ImodelContextImpl* context = module->GetContext()) m_change(*context);
        return true;
    }

private:
    std::function<void(ImodelContextImpl&)> m_change;
};

void ForEveryContext(std::function<void(ImodelContextImpl&)> change)
{
    ImodelApplyToAllModules(ContextChange(std::move(change)));
}

// The folder of view `number` under `location`.
ImodelFileName ViewFolder(const ImodelFileName& location, int number)
{
    ImodelFileName folder;
    ImodelGetFullPathForFileWithThisLoc(zorpaFT_GROUP_PALLADOR, folder, location, ImodelGetFullPathParam(number));
    return folder;
}

// The folder that holds the simulation results of view `number` after
// place and route, under `location`: the view's "simulation" folder.
ImodelFileName ViewSimulationFolder(const ImodelFileName& location, int number)
{
    ImodelGetFullPathParam param(Post_Layout);
    param.SetRevision(number);
    ImodelFileName folder;
    ImodelGetFullPathForFileWithThisLoc(zorpaFT_SIM, folder, location, param);
    std::string text = folder.GetString();
    const std::size_t separator = text.find_last_of(SysGetDirChar());
    if (separator != std::string::npos && ImodelIsSameStrNoCase(text.substr(separator + 1), "postlayout"))
        text.erase(separator);
    return text;
}

// A whole decimal number at the start of `text` after blanks, as C's atoi
// reads it; false for no digits or a value outside int.
bool ReadLeadingNumber(std::string_view text, int& value)
{
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos) return false;
    const bool negative = text[at] == '-';
    if (text[at] == '-' || text[at] == '+') ++at;
    long long number = 0;
    const std::size_t first = at;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        number = number * 10 + (text[at] - '0');
        if (number > INT_MAX) return false;
    }
    if (at == first) return false;
    value = static_cast<int>(negative ? -number : number);
    return true;
}

// Calls `take(line, broken, name, number)` for each view line of a views
// block in order, VALUE="<name>",NUM=<number> (`broken` for one without two
// quotes or a number after them), until it answers false; the text of
// CURREV=<n> goes to `currentText`, other lines are passed over. False when
// `take` answered false.
template <class Take>
bool ForEachViewLine(const std::vector<std::string_view>& lines, std::string& currentText, Take take)
{
    for (const std::string_view line : lines) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, equals);
        if (key == "CURREV") currentText = line.substr(equals + 1);
        if (key != "VALUE") continue;
        const std::size_t open = line.find('"');
        const std::size_t close = line.rfind('"');
        const std::size_t numberAt = close == std::string_view::npos ? close : line.find('=', close);
        int number = 0;
        const bool broken = open == close || numberAt == std::string_view::npos ||
                            !ReadLeadingNumber(line.substr(numberAt + 1), number);
        const std::string_view name = broken ? std::string_view() : line.substr(open + 1, close - open - 1);
        if (!take(line, broken, name, number)) return false;
    }
    return true;
}

std::string HtmlText(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Saves the project through the save command, when it is registered.
void SaveProject()
{
    AcmdManager& commands = AcmdManager::GetInstance();
    const AcmdBase* prototype = commands.FindPrototype("save_project");
    if (!prototype) return;
    const std::unique_ptr<AcmdBase> command = prototype->Clone();
    commands.Run(command.get(), false);
}

}  // namespace

// --- the project file ---------------------------------------------------------------------------

void imodelRevisionManagerImpl::WriteRevisions(std::ostream* stream) const
{
    if (!stream) return;
    // A project may have many thousand views. A name that cannot be stored
    // is refused where it stands, after what comes before it.
    ImodelChunkedText block(*stream);
    std::string& text = block.Text();
    text = "LIST REVISIONS\n";
    for (const imodelRevisionObject& view : m_views) {
        if (!ImodelIsQuotable(view.GetName())) {
            block.Flush();
            ImodelRefuseText(*stream, view.GetName(), "view name");
            continue;
        }
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, view.GetNumber()).ptr;
        text.append("VALUE=\"").append(view.GetName()).append("\",NUM=");
        text.append(digits, static_cast<std::size_t>(end - digits)).push_back('\n');
        block.Step();
    }
    text += "CURREV=" + std::to_string(m_current) + "\nENDLIST\n";
    block.Flush();
}

bool& ImodelIgnoreViewThatDoesNotExist()
{
    static bool ignore = false;
    return ignore;
}

namespace {

std::unordered_set<std::string>& DroppedOnRead()
{
    static std::unordered_set<std::string> names;
    return names;
}

}  // namespace

bool imodelIsViewDroppedOnRead(std::string_view name)
{
    return ImodelIgnoreViewThatDoesNotExist() && DroppedOnRead().count(std::string(name)) != 0;
}

void imodelRevisionManagerImpl::ReadRevisions(const std::vector<std::string_view>& lines)
{
    Clear();
    m_current = 0;
    DroppedOnRead().clear();
    std::string currentText;
    // The place in the list of the view CURREV names; none when it names none.
    std::size_t currentAt = imodelSlotTable::npos;
    int current = 0;
    if (!ImodelIgnoreViewThatDoesNotExist() && TakeCleanList(lines, currentText)) {
        if (!currentText.empty() && ReadLeadingNumber(currentText, current) && current > 0 &&
            current <= static_cast<int>(m_views.size()))
            currentAt = static_cast<std::size_t>(current - 1);
    } else {
        Clear();
        currentText.clear();
        const std::vector<std::string_view> positions = TakeViewByView(lines, currentText);
        // CURREV counts the views as the file lists them.
        if (!currentText.empty() && ReadLeadingNumber(currentText, current) && current > 0 &&
            current <= static_cast<int>(positions.size())) {
            const std::size_t slot = SlotOfName(positions[current - 1], KeyOf(positions[current - 1]));
            if (slot != imodelSlotTable::npos) currentAt = slot - m_dropped;
        }
        // A name dropped on one line and kept on another is a view kept.
        std::erase_if(DroppedOnRead(), [this](const std::string& name) { return FindByName(name) != m_views.end(); });
    }
    // The list holds the views taken, in order: the units' contexts hear of
    // them after it, each in the list's order (a project may have thousands).
    if (!m_views.empty())
        ForEveryContext([this](ImodelContextImpl& context) {
            for (const imodelRevisionObject& view : m_views) context.AddRevision(view.GetName(), true, true);
        });
    if (currentAt != imodelSlotTable::npos) {
        m_current = static_cast<int>(currentAt) + 1;
    } else if (m_views.empty()) {
        // The project keeps its default view even when its folder cannot
        // be made now (activating the view says so, and makes the folder
        // when it next can): the units' states for it are read next, and a
        // project without a view would write them away at its next save.
        const int number = NextNumber();
        const ImodelFileName& project = Design().GetProjectFolder();
        AddView(kDefaultViewName + std::to_string(number), number, project, false, false);
        if (!project.empty() && UtlDoesPathExist(ViewFolder(project, number))) CreateViewFolders(project, number);
    } else {
        m_current = 1;
    }
    const std::string name = GetCurrentRevisionName();
    ForEveryContext([&name](ImodelContextImpl& context) { context.SetCurRev(name); });
    Send<IeventPalladorViewsChanged>();
}

bool imodelRevisionManagerImpl::TakeCleanList(const std::vector<std::string_view>& lines, std::string& currentText)
{
    // Most lists are as a save writes them: every line a view, the numbers
    // rising, the names unique and storable. Such a list is taken whole, its
    // name index made at once; any other goes view by view (which is what
    // gives the same list here).
    std::vector<std::uint32_t> keys;
    keys.reserve(lines.size());
    const bool clean =
        ForEachViewLine(lines, currentText, [&](std::string_view, bool broken, std::string_view name, int number) {
            if (broken || number <= 0 || (!m_views.empty() && number <= m_views.back().GetNumber()) || name.empty())
                return false;
            std::string own(name);
            if (!IfileIsStorableName(own)) return false;
            keys.push_back(KeyOf(own));
            m_views.emplace_back(std::move(own), number);
            return true;
        });
    if (!clean) return false;
    m_sharedNames.reset();
    return m_byName.Fill(keys, [this](std::size_t one, std::size_t other) {
        return m_views[one].GetName() == m_views[other].GetName();
    });
}

std::vector<std::string_view> imodelRevisionManagerImpl::TakeViewByView(const std::vector<std::string_view>& lines,
                                                                        std::string& currentText)
{
    // A line per view at most: the name index is made once at its size.
    m_byName.Reserve(lines.size());
    const bool ignoreMissing = ImodelIgnoreViewThatDoesNotExist();
    // The names as the file lists them (views dropped for a missing folder
    // count too), in the lines.
    std::vector<std::string_view> positions;
    positions.reserve(lines.size());
    ForEachViewLine(lines, currentText, [&](std::string_view line, bool broken, std::string_view name, int number) {
        if (broken) {
            ImodelDisplayVALUE_IGNORED_MSG(("The view line '" + std::string(line) + "' of the project file").c_str());
        } else if (ignoreMissing && !UtlDoesPathExist(ViewFolder(Design().GetProjectFolder(), number))) {
            // The copy of a project saved with some of its views has no
            // folder for the others: they are dropped.
            positions.push_back(name);
            DroppedOnRead().emplace(name);
        } else {
            // A refused line keeps its place too: CURREV counts every line.
            AppendReadView(name, number);
            positions.push_back(name);
        }
        return true;
    });
    return positions;
}

bool imodelRevisionManagerImpl::AppendReadView(std::string_view name, int number)
{
    const std::string refusal = TakeReadView(std::string(name), number);
    if (refusal.empty()) return true;
    ImodelDisplayVALUE_IGNORED_MSG(
        ("The view '" + std::string(name) + "' numbered " + std::to_string(number) + " (" + refusal + ")").c_str());
    return false;
}

std::string imodelRevisionManagerImpl::TakeReadView(std::string name, int number)
{
    // Each index is searched once, and the search finds the place to add:
    // a project may list thousands of views.
    if (number <= 0) return "a view number is 1 or more";
    if (SlotOfNumber(number) != imodelSlotTable::npos) return "another view has that number";
    if (name.empty()) return "a view needs a name";
    if (!IfileIsStorableName(name)) return "a view name holds no line break and no double quote";
    const std::uint32_t key = KeyOf(name);
    if (SlotOfName(name, key) != imodelSlotTable::npos) return "another view has that name";
    Append(std::move(name), number, key);
    return std::string();
}

bool imodelRevisionManagerImpl::ReadViewDescription(ImodelFileTypeList& files, int number) const
{
    files.clear();
    const ImodelFileName& project = Design().GetProjectFolder();
    std::string text;
    if (project.empty() ||
        !SysReadFile(ViewFolder(project, number).GetString() + SysGetDirChar() + kViewDescription, text))
        return false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ImodelRemoveWindowsEOL(line);
        const std::size_t open = line.find('"');
        const std::size_t close = line.rfind('"');
        if (open == std::string::npos || close <= open + 1) continue;
        const std::string name = line.substr(open + 1, close - open - 1);
        std::string lower = name;
        ImodelMakeLower(lower);
        files.emplace_back(name, IfileObject::GetSafeFileType(zorpaFT_GROUP_PALLADOR, lower));
    }
    return true;
}

// --- changing the views ------------------------------------------------------------------------------

void imodelRevisionManagerImpl::RemoveAllViews()
{
    while (!m_views.empty()) {
        Send<IeventPalladorViewWillBeRemoved>(m_views.front().GetNumber());
        PopFront();
    }
    m_current = 0;
    Send<IeventPalladorViewsChanged>();
}

bool imodelRevisionManagerImpl::CreateView(const std::string& name, const ImodelFileName& location, bool copyCurrent,
                                           bool saveFirst)
{
    const ImodelFileName where = location.empty() ? Design().GetProjectFolder() : location;
    const int number = NextNumber();
    const std::string viewName = name.empty() ? kDefaultViewName + std::to_string(number) : name;
    if (number == 0) {
        ImodelDisplayDEBUG_MSG("No view number is left for a new place-and-route view.");
        return false;
    }
    if (!IfileCheckStorableName(viewName, "view")) return false;
    if (FindByName(viewName) != m_views.end()) {
        ImodelDisplayDEBUG_MSG(("A place-and-route view named '" + viewName + "' exists already.").c_str());
        return false;
    }
    // Without a project folder the view has nowhere to keep files yet.
    if (!where.empty() && !CreateViewFolders(where, number)) return false;
    AddView(viewName, number, where, copyCurrent, saveFirst && location.empty());
    return true;
}

void imodelRevisionManagerImpl::AddView(const std::string& viewName, int number, const ImodelFileName& where,
                                        bool copyCurrent, bool saveFirst)
{
    const imodelRevisionObject* source = CurrentView();
    const bool copy = copyCurrent && source;
    const int sourceNumber = source ? source->GetNumber() : 0;
    Append(viewName, number, KeyOf(viewName));
    ImodelHost* host = Model().GetHost();
    if (copy && host && !where.empty()) {
        ImodelCopyDirTool tool(ViewFolder(where, sourceNumber), ViewFolder(where, number), "*");
        host->CopyFolder(tool, false);
    }
    Send<IeventPalladorViewAdded>(number);
    if (copy) {
        if (IfileManager* files = Model().GetFileManager()) files->RetargetFiles(sourceNumber, number);
        if (ItimerManager* watcher = Model().GetTimerManager()) watcher->CopyRevisionFiles(sourceNumber, number);
    }
    ForEveryContext([&viewName, copy](ImodelContextImpl& context) { context.AddRevision(viewName, copy, true); });
    SetActiveView(viewName, !copyCurrent, saveFirst);
    Design().SetNeedSave(true);
}

bool imodelRevisionManagerImpl::CreateViewFolders(const ImodelFileName& location, int number)
{
    for (const ImodelFileName& folder : {ViewFolder(location, number), ViewSimulationFolder(location, number)}) {
        if (!ImodelValidateOrCreateDirectory(folder)) {
            ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(folder.c_str());
            return false;
        }
    }
    return true;
}

bool imodelRevisionManagerImpl::DeleteView(const std::string& name)
{
    const auto found = FindByName(name);
    if (m_views.size() < 2 || found == m_views.end()) return false;
    const int position = static_cast<int>(found - m_views.begin()) + 1;
    const int number = found->GetNumber();
    // The current view goes: the next one takes its place, or the previous
    // one for the last.
    std::string successor;
    if (position == m_current) successor = m_views[position < GetRevisionCount() ? position : position - 2].GetName();
    const int remembered = m_current;
    m_current = position;
    // Only a folder strictly inside the project folder is ever deleted.
    ImodelDeleteFolderAndSubFolders(ViewFolder(Design().GetProjectFolder(), number));
    Send<IeventPalladorViewWillBeRemoved>(number);
    Erase(found);
    Design().SetNeedSave(true);
    if (IfileManager* files = Model().GetFileManager()) files->RemoveFilesOfRevision(number);
    ForEveryContext([&name](ImodelContextImpl& context) { context.RemoveRevision(name); });
    if (!successor.empty()) {
        SetActiveView(successor, false, false);
    } else {
        m_current = remembered - (position < remembered ? 1 : 0);
        Send<IeventPalladorViewsChanged>();
    }
    return true;
}

bool imodelRevisionManagerImpl::SetActiveView(const std::string& name, bool, bool saveFirst)
{
    if (saveFirst && Design().HasProjectFileStream()) SaveProject();
    const int before = GetCurrentRevisionNumber();
    const auto found = FindByName(name);
    if (found != m_views.end()) {
        m_current = static_cast<int>(found - m_views.begin()) + 1;
        Design().SetNeedSave(true);
        ForEveryContext([&name](ImodelContextImpl& context) { context.SetCurRev(name); });
        const ImodelFileName& project = Design().GetProjectFolder();
        const bool wasBlocked = Imodel::BlockProcessDisplay(true, true);
        const ImodelFileName folder = ViewFolder(project, found->GetNumber());
        if (!project.empty() && !UtlDoesPathExist(folder) && !ImodelValidateOrCreateDirectory(folder))
            ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(folder.c_str());
        Imodel::BlockProcessDisplay(wasBlocked, true);
    }
    Send<IeventPalladorViewsChanged>();
    if (IfileManager* files = Model().GetFileManager()) files->UpdateFilesAndNotify(GetCurrentRevisionNumber());
    if (IprocessManager* processes = Model().GetProcessManager()) processes->FlowOptionsChanged(true);
    Send<IeventPalladorViewChangedActive>(before, GetCurrentRevisionNumber());
    return found != m_views.end();
}

bool imodelRevisionManagerImpl::ModifyView(const std::string& oldName, const std::string& newName)
{
    if (!IfileCheckStorableName(newName, "view")) return false;
    if (newName.empty()) {
        ImodelDisplayDEBUG_MSG("A place-and-route view needs a name.");
        return false;
    }
    if (FindByName(newName) != m_views.end()) return false;
    const auto found = FindByName(oldName);
    if (found != m_views.end()) {
        Rename(found, newName);
        Design().SetNeedSave(true);
        ForEveryContext([&](ImodelContextImpl& context) { context.RenameRevision(oldName, newName); });
        Send<IeventPalladorViewModified>(found->GetNumber());
    }
    Send<IeventPalladorViewsChanged>();
    return found != m_views.end();
}

// --- questions ---------------------------------------------------------------------------------------

const imodelRevisionObject* imodelRevisionManagerImpl::CurrentView() const
{
    if (m_current <= 0 || m_views.empty()) return nullptr;
    return &m_views[std::min<std::size_t>(static_cast<std::size_t>(m_current), m_views.size()) - 1];
}

std::uint32_t imodelRevisionManagerImpl::KeyOf(std::string_view name)
{
    return static_cast<std::uint32_t>(std::hash<std::string_view>()(name));
}

std::size_t imodelRevisionManagerImpl::SlotOfName(std::string_view name, std::uint32_t key) const
{
    return m_byName.Find(key, [this, name](std::size_t slot) {
        return slot >= m_dropped && m_views[slot - m_dropped].GetName() == name;
    });
}

std::size_t imodelRevisionManagerImpl::SlotOfNumber(int number) const
{
    // The key is the number itself: an entry of that key is the view, unless
    // the view was dropped from the front.
    if (m_numbersIndexed)
        return m_byNumber.Find(imodelSlotTable::KeyOf(number), [this](std::size_t slot) { return slot >= m_dropped; });
    if (m_views.empty() || number > m_views.back().GetNumber()) return imodelSlotTable::npos;
    const auto found =
        std::lower_bound(m_views.begin(), m_views.end(), number,
                         [](const imodelRevisionObject& view, int wanted) { return view.GetNumber() < wanted; });
    if (found == m_views.end() || found->GetNumber() != number) return imodelSlotTable::npos;
    return static_cast<std::size_t>(found - m_views.begin()) + m_dropped;
}

imodelRevisionManagerImpl::Views::iterator imodelRevisionManagerImpl::FindByName(const std::string& name)
{
    const std::size_t slot = SlotOfName(name, KeyOf(name));
    return slot == imodelSlotTable::npos ? m_views.end() : At(slot);
}

imodelRevisionManagerImpl::Views::const_iterator imodelRevisionManagerImpl::FindByName(const std::string& name) const
{
    return const_cast<imodelRevisionManagerImpl*>(this)->FindByName(name);
}

imodelRevisionManagerImpl::Views::const_iterator imodelRevisionManagerImpl::FindByNumber(int number) const
{
    const std::size_t slot = SlotOfNumber(number);
    return slot == imodelSlotTable::npos ? m_views.end() : const_cast<imodelRevisionManagerImpl*>(this)->At(slot);
}

int imodelRevisionManagerImpl::NextNumber() const
{
    int highest = 0;
    if (!m_numbersIndexed && !m_views.empty()) {
        highest = std::max(0, m_views.back().GetNumber());
    } else {
        for (const imodelRevisionObject& view : m_views) highest = std::max(highest, view.GetNumber());
    }
    return highest == INT_MAX ? 0 : highest + 1;
}

void imodelRevisionManagerImpl::Append(std::string name, int number, std::uint32_t key)
{
    m_sharedNames.reset();
    // The slots are 32-bit: views taken from the front for that long make
    // them anew.
    if (m_views.size() + m_dropped >= UINT32_MAX - 1) Reindex();
    const std::size_t slot = m_views.size() + m_dropped;
    m_byName.Insert(key, slot);
    // A number out of order: the list is no longer searched by its order.
    if (!m_numbersIndexed && !m_views.empty() && number <= m_views.back().GetNumber()) IndexNumbers();
    if (m_numbersIndexed) m_byNumber.Insert(imodelSlotTable::KeyOf(number), slot);
    m_views.emplace_back(std::move(name), number);
}

void imodelRevisionManagerImpl::Rename(Views::iterator view, const std::string& name)
{
    m_sharedNames.reset();
    const std::size_t slot = static_cast<std::size_t>(view - m_views.begin()) + m_dropped;
    m_byName.Erase(KeyOf(view->GetName()), slot);
    m_byName.Insert(KeyOf(name), slot);
    view->SetName(name);
}

void imodelRevisionManagerImpl::Erase(Views::iterator view)
{
    m_sharedNames.reset();
    // The views behind it move up: the slots are made anew.
    m_views.erase(view);
    Reindex();
}

void imodelRevisionManagerImpl::Reindex()
{
    m_byName.Clear();
    m_dropped = 0;
    m_byName.Reserve(m_views.size());
    for (std::size_t slot = 0; slot < m_views.size(); ++slot) m_byName.Insert(KeyOf(m_views[slot].GetName()), slot);
    const bool ascending = std::adjacent_find(m_views.begin(), m_views.end(), [](const auto& one, const auto& next) {
                               return one.GetNumber() >= next.GetNumber();
                           }) == m_views.end();
    m_byNumber.Clear();
    m_numbersIndexed = false;
    if (!ascending) IndexNumbers();
}

void imodelRevisionManagerImpl::IndexNumbers()
{
    m_numbersIndexed = true;
    m_byNumber.Clear();
    m_byNumber.Reserve(m_views.size() + 1);
    for (std::size_t at = 0; at < m_views.size(); ++at)
        m_byNumber.Insert(imodelSlotTable::KeyOf(m_views[at].GetNumber()), at + m_dropped);
}

void imodelRevisionManagerImpl::PopFront()
{
    m_sharedNames.reset();
    // The indexes keep the view's entries: a slot below the views dropped
    // names no view, and the lookups pass over it. A list emptied this way
    // (closing a project of many views) is not searched entry by entry.
    m_views.pop_front();
    ++m_dropped;
    if (m_views.empty()) Clear();
}

void imodelRevisionManagerImpl::Clear()
{
    m_sharedNames.reset();
    m_views.clear();
    m_byName.Clear();
    m_byNumber.Clear();
    m_numbersIndexed = false;
    m_dropped = 0;
}

bool imodelRevisionManagerImpl::IsCurrentRevision(const std::string& name) const
{
    const auto found = FindByName(name);
    return found != m_views.end() && found - m_views.begin() + 1 == m_current;
}

int imodelRevisionManagerImpl::GetCurrentRevisionNumber() const
{
    const imodelRevisionObject* view = CurrentView();
    return view ? view->GetNumber() : 0;
}

std::string imodelRevisionManagerImpl::GetCurrentRevisionName() const
{
    const imodelRevisionObject* view = CurrentView();
    return view ? view->GetName() : std::string();
}

int imodelRevisionManagerImpl::GetLastRevisionNumber() const
{
    return m_views.empty() ? 0 : m_views.back().GetNumber();
}

void imodelRevisionManagerImpl::GetRevisionNames(std::vector<std::string>* names) const
{
    if (!names) return;
    for (const imodelRevisionObject& view : m_views) names->push_back(view.GetName());
}

std::shared_ptr<const std::vector<std::string>> imodelRevisionManagerImpl::GetSharedRevisionNames() const
{
    if (!m_sharedNames) {
        auto names = std::make_shared<std::vector<std::string>>();
        names->reserve(m_views.size());
        GetRevisionNames(names.get());
        m_sharedNames = std::move(names);
    }
    return m_sharedNames;
}

void imodelRevisionManagerImpl::GetRevisionNumbers(std::vector<int>* numbers) const
{
    if (!numbers) return;
    for (const imodelRevisionObject& view : m_views) numbers->push_back(view.GetNumber());
}

std::string imodelRevisionManagerImpl::GetRevisionNameByNumber(int number) const
{
    const auto found = FindByNumber(number);
    return found == m_views.end() ? std::string() : found->GetName();
}

int imodelRevisionManagerImpl::GetRevisionNumber(const std::string& name) const
{
    const auto found = FindByName(name);
    return found == m_views.end() ? -1 : found->GetNumber();
}

int imodelRevisionManagerImpl::GetRevisionNumberOfContext(ImodelModule* module, ImodelRevContext* revision) const
{
    const ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    std::string name;
    if (!context || !context->GetRevisionName(revision, name)) return -1;
    return GetRevisionNumber(name);
}

bool imodelRevisionManagerImpl::GetDisplayText(int number, std::string& text) const
{
    text.clear();
    const auto found = FindByNumber(number);
    if (found == m_views.end()) return false;
    ImodelFileName folder;
    ImodelGetRelativeFileName(ImodelFileName(), folder, false, zorpaFT_GROUP_PALLADOR, ImodelGetFullPathParam(number));
    std::string relative = folder.GetString();
    if (!relative.empty() && relative.back() == SysGetDirChar()) relative.pop_back();
    text = found->GetName() + " (" + relative + ")";
    return true;
}

bool imodelRevisionManagerImpl::FindView(const char* name) const
{
    if (!name) return false;
    std::string wanted = name;
    ImodelMakeLower(wanted);
    return std::any_of(m_views.begin(), m_views.end(), [&wanted](const imodelRevisionObject& view) {
        std::string own = view.GetName();
        ImodelMakeLower(own);
        return own == wanted;
    });
}

bool imodelRevisionManagerImpl::GetFlowReport(int number, std::string& html) const
{
    const std::string name = GetRevisionNameByNumber(number);
    html = "<br>Pallador View <b>" + HtmlText(name) + "</b><br><br>" +
           "Location: " + HtmlText(ViewFolder(Design().GetProjectFolder(), number)) + "<br>";
    ImodelModule* root = Design().GetRootModule();
    const ImodelContextImpl* context = root ? root->GetContext() : nullptr;
    const ImodelRevContextImpl* revision = context ? context->FindRevision(name) : nullptr;
    if (!revision) return true;
    const ImodelFlowOptions& options = revision->GetFlowOptions();
    html += "<br>Flow configuration for module " + HtmlText(Design().GetRootId().ToString()) + ":" +
            "<br><t>Synthesis tool is " + (options.UseSynth ? "activated" : "de-activated") + "<br><t>DAVIRI tool is " +
            (options.UsePhySynth ? "activated" : "de-activated") + "<br>";
    return true;
}

// The revision manager: the views in creation and reading order and the
// 1-based position of the current one (0 for none). Empty until a project
// file is read or a view is created.
#pragma once

#include "imodel/views/ImodelRevisionManager.h"
#include "src/imodel/views/imodelSlotTable.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One place-and-route view.
class imodelRevisionObject {
public:
    imodelRevisionObject(std::string name, int number) : m_name(std::move(name)), m_number(number) {}

    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }
    int GetNumber() const { return m_number; }

private:
    std::string m_name;
    int m_number;  // 1 and above, never shared
};

// Whether the last views block read, while views without a folder are
// ignored (the copy of a project saved with some of its views), dropped a
// view of that name: that view's states do not go to another view.
bool imodelIsViewDroppedOnRead(std::string_view name);

class imodelRevisionManagerImpl : public ImodelRevisionManager {
public:
    imodelRevisionManagerImpl() = default;

    void RemoveAllViews() override;
    void WriteRevisions(std::ostream* stream) const override;
    using ImodelRevisionManager::ReadRevisions;
    void ReadRevisions(const std::vector<std::string_view>& lines) override;
    bool ReadViewDescription(ImodelFileTypeList& files, int number) const override;
    bool CreateView(const std::string& name, const ImodelFileName& location, bool copyCurrent, bool saveFirst) override;
    bool DeleteView(const std::string& name) override;
    bool SetActiveView(const std::string& name, bool unused, bool saveFirst) override;
    bool ModifyView(const std::string& oldName, const std::string& newName) override;

    bool IsCurrentRevision(const std::string& name) const override;
    int GetCurrentIndex() const override { return m_current; }
    int GetCurrentRevisionNumber() const override;
    std::string GetCurrentRevisionName() const override;
    int GetRevisionCount() const override { return static_cast<int>(m_views.size()); }
    int GetLastRevisionNumber() const override;
    void GetRevisionNames(std::vector<std::string>* names) const override;
    std::shared_ptr<const std::vector<std::string>> GetSharedRevisionNames() const override;
    void GetRevisionNumbers(std::vector<int>* numbers) const override;
    std::string GetRevisionNameByNumber(int number) const override;
    int GetRevisionNumber(const std::string& name) const override;
    int GetRevisionNumberOfContext(ImodelModule* module, ImodelRevContext* revision) const override;
    bool GetDisplayText(int number, std::string& text) const override;
    bool FindView(const char* name) const override;
    bool GetFlowReport(int number, std::string& html) const override;

private:
    using Views = std::deque<imodelRevisionObject>;

    // The current view (the last one when the index lies beyond the list);
    // null when there is none.
    const imodelRevisionObject* CurrentView() const;
    Views::iterator FindByName(const std::string& name);
    Views::const_iterator FindByName(const std::string& name) const;
    Views::const_iterator FindByNumber(int number) const;
    // The slot of the view of that name, respectively number; npos for none.
    std::size_t SlotOfName(std::string_view name, std::uint32_t key) const;
    std::size_t SlotOfNumber(int number) const;
    static std::uint32_t KeyOf(std::string_view name);
    // The indexes made anew from the list (slots from 0).
    void Reindex();
    // The number index made from the list as it stands, and kept from now.
    void IndexNumbers();
    // The view number one above the highest; 0 when none is left.
    int NextNumber() const;
    // Appends a view read from the project file and answers empty, or
    // answers why a view of that number and name cannot join the list.
    std::string TakeReadView(std::string name, int number);
    // Creates the new view's folder and its simulation folder under
    // `location`; false, with the folder reported, when one cannot be made.
    static bool CreateViewFolders(const ImodelFileName& location, int number);
    // Appends the view (its folders made or not under `where`), copies the
    // current view into it when asked, tells the units and activates it.
    void AddView(const std::string& viewName, int number, const ImodelFileName& where, bool copyCurrent,
                 bool saveFirst);
    // Takes a views block as a save writes it (every line a view, numbers
    // rising, names unique and storable) whole, with CURREV's text; false,
    // with the list left to be emptied, for any other.
    bool TakeCleanList(const std::vector<std::string_view>& lines, std::string& currentText);
    // Takes the views of a block one by one, each refused one told; gives
    // the names as the file lists them (in the lines), with CURREV's text.
    std::vector<std::string_view> TakeViewByView(const std::vector<std::string_view>& lines, std::string& currentText);
    // Appends a view read from the project file; false, with a message,
    // when it cannot join the list.
    bool AppendReadView(std::string_view name, int number);
    // The list and its indexes change together through these.
    // The name's key is given (KeyOf).
    void Append(std::string name, int number, std::uint32_t key);
    void Rename(Views::iterator view, const std::string& name);
    void Erase(Views::iterator view);
    void PopFront();
    void Clear();
    Views::iterator At(std::size_t slot) { return m_views.begin() + static_cast<std::ptrdiff_t>(slot - m_dropped); }

    Views m_views;
    int m_current = 0;
    // Names and numbers are unique among the views: each index gives the
    // view's slot, its place in the list plus the number of views taken from
    // the front of the list since the indexes were last made.
    // The number index is made only once the numbers are out of order in
    // the list; until then the list, ascending, is its own index (views are
    // read and created in number order).
    imodelSlotTable m_byName;
    imodelSlotTable m_byNumber;
    bool m_numbersIndexed = false;
    std::size_t m_dropped = 0;
    // The names as last handed out; dropped by every change of the list.
    mutable std::shared_ptr<const std::vector<std::string>> m_sharedNames;
};

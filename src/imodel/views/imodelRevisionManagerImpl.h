// The revision manager: the views in creation and reading order and the
// 1-based position of the current one (0 for none). Empty until a project
// file is read or a view is created.
#pragma once

#include "imodel/views/ImodelRevisionManager.h"

#include <string>
#include <utility>
#include <vector>

// One place-and-route view.
class imodelRevisionObject {
public:
    imodelRevisionObject(std::string name, int number) : m_name(std::move(name)), m_number(number) {}

    std::string GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }
    int GetNumber() const { return m_number; }

private:
    std::string m_name;
    int m_number;  // 1 and above, never shared
};

class imodelRevisionManagerImpl : public ImodelRevisionManager {
public:
    imodelRevisionManagerImpl() = default;

    void RemoveAllViews() override;
    void WriteRevisions(std::ostream* stream) const override;
    void ReadRevisions(std::vector<std::string>& lines) override;
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
    void GetRevisionNumbers(std::vector<int>* numbers) const override;
    std::string GetRevisionNameByNumber(int number) const override;
    int GetRevisionNumber(const std::string& name) const override;
    int GetRevisionNumberOfContext(ImodelModule* module, ImodelRevContext* revision) const override;
    bool GetDisplayText(int number, std::string& text) const override;
    bool FindView(const char* name) const override;
    bool GetFlowReport(int number, std::string& html) const override;

private:
    using Views = std::vector<imodelRevisionObject>;

    // The current view (the last one when the index lies beyond the list);
    // null when there is none.
    const imodelRevisionObject* CurrentView() const;
    Views::iterator FindByName(const std::string& name);
    Views::const_iterator FindByName(const std::string& name) const;
    Views::const_iterator FindByNumber(int number) const;
    // The view number one above the highest; 0 when none is left.
    int NextNumber() const;
    // Why a view of that number and name cannot join the list; empty when
    // it can.
    std::string Refusal(const std::string& name, int number) const;
    // Creates the new view's folder and its simulation folder under
    // `location`; false, with the folder reported, when one cannot be made.
    static bool CreateViewFolders(const ImodelFileName& location, int number);
    void AppendReadView(const std::string& name, int number);

    Views m_views;
    int m_current = 0;
};

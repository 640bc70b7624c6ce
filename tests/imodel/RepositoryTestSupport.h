// Doubles for the core repository tests: a catalogue plug-in, a plug-in
// loader and a host callback that record what the repositories ask of
// them, a host that hands out that callback, a view that records the
// repository events with the state the repository had when each arrived,
// and a switch for the debug messages.
#pragma once

#include "DebugCapture.h"
#include "RecordingHost.h"
#include "RecordingView.h"

#include "imodel/cores/ImodelRepository.h"
#include "imodel/model/Imodel.h"

#include <dastrel/IIpMgrCallback.h>
#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <string>
#include <utility>
#include <vector>

class FakePlugin : public IIpRepository {
public:
    explicit FakePlugin(const std::string& location, const std::string& name = "fake")
        : m_location(location), m_name(name)
    {
    }
    const std::string& GetLocation() const override { return m_location; }
    const std::string& GetIndexFileName() const override { return m_index; }
    const std::string& GetName() const override { return m_name; }
    bool IsUserRepository() const override { return false; }
    bool IsReadOnly() const override { return true; }

private:
    std::string m_location;
    std::string m_name;
    std::string m_index = "index.xml";
};

class FakeLoader : public IIpPluginLoader {
public:
    int result = 0;
    std::vector<std::string> calls;

    int Load(const std::string& location, const std::string& index, FinishedCallback finished, bool user,
             bool readOnly) override
    {
        calls.push_back("Load " + location + " " + index + (user ? " user" : " built-in") +
                        (readOnly ? " read-only" : " writable") + (finished ? " finished" : ""));
        return result;
    }
    void Unload(const std::string& location) override { calls.push_back("Unload " + location); }
};

class FakeCallback : public IIpMgrCallback {
public:
    FakeLoader loader;
    bool withLoader = true;
    bool makePlugins = true;
    bool withReporter = true;
    std::string defaultLocation;
    ResultCallback finished;
    RepositoryCallback added;
    RepositoryCallback removed;
    std::vector<std::string> created;
    std::vector<std::pair<std::string, int>> reports;

    IIpPluginLoader* GetPluginLoader() override { return withLoader ? &loader : nullptr; }
    ResultCallback GetLoadFinishedCallback() override { return finished; }
    RepositoryCallback GetUserPluginAddedCallback() override { return added; }
    RepositoryCallback GetUserPluginRemovedCallback() override { return removed; }
    boost::shared_ptr<IIpRepository> CreateIpCorePlugin(const std::string& location) override
    {
        return Create("IP", location);
    }
    boost::shared_ptr<IIpRepository> CreateKiltoraCorePlugin(const std::string& location) override
    {
        return Create("KT", location);
    }
    ResultCallback GetLoadResultReporter() override
    {
        if (!withReporter) return {};
        return [this](std::string location, int code) { reports.emplace_back(location, code); };
    }
    std::string GetDefaultIpCatalogLocation() override { return defaultLocation; }

private:
    boost::shared_ptr<IIpRepository> Create(const std::string& kind, const std::string& location)
    {
        created.push_back(kind + " " + location);
        if (!makePlugins) return {};
        return boost::make_shared<FakePlugin>(location);
    }
};

// A host whose core-browser callback is the given one (may be empty).
class CallbackHost : public RecordingHost {
public:
    explicit CallbackHost(boost::shared_ptr<IIpMgrCallback> callback) : m_callback(std::move(callback)) {}
    boost::shared_ptr<IIpMgrCallback> GetIpMgrCallback() override { return m_callback; }

private:
    boost::shared_ptr<IIpMgrCallback> m_callback;
};

// Records "changed <location> <state then>", "ready <location>" and
// "removed <location>"; the state is that of the watched repository.
class RepositoryEventRecorder : public RecordingView {
public:
    explicit RepositoryEventRecorder(const ImodelRepository* watched = nullptr) : m_watched(watched) {}

    using RecordingView::UpdateView;

    void UpdateView(const IeventIPRepositoryStateChanged& event) override
    {
        lines.push_back("changed " + event.GetRepository() + " " +
                        (m_watched ? std::to_string(m_watched->GetPluginState()) : std::string("?")));
    }
    void UpdateView(const IeventIPRepositoryReady& event) override
    {
        lines.push_back("ready " + event.GetRepository());
    }
    void UpdateView(const IeventIPRepositoryRemoved& event) override
    {
        lines.push_back("removed " + event.GetRepository());
    }

    std::vector<std::string> lines;

private:
    const ImodelRepository* m_watched;
};

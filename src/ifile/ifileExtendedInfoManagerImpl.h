// The extended-info cache: descriptions by the file-name key of their
// database's full name, so that two spellings of one file are one entry; a
// walk goes in key order.
#pragma once

#include "ifile/IfileExtendedInfoManager.h"
#include "src/ifile/ifileDescriptionPreRead.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

class ifileExtendedInfoManagerImpl : public IfileExtendedInfoManager {
public:
    ifileExtendedInfoManagerImpl() = default;
    ~ifileExtendedInfoManagerImpl() override;

    void SetInfo(const IfileObject& file, boost::shared_ptr<IfileExtendedInfo> info) override;
    boost::shared_ptr<IfileExtendedInfo> GetInfo(const IfileObject& file, bool load) override;
    void ClearInfo() override;
    void UpdateModelFromInfo(const IfileObject& oldFile, boost::shared_ptr<IfileObjectEx> entry) override;
    void GetDependentFiles(const IfileObject& file, std::deque<IfileObject>& out) override;
    bool IsDependingOn(const IfileObject& database, const IfileObject& file, bool load) override;
    bool LoadInfo(const IfileObject& database, bool updateModel, bool compare) override;
    bool ReloadInfo(const IfileObject& database, bool compare) override;
    void StartPreRead() override;
    void ApplyPreReadResults(bool wait) override;
    bool IsPreReading() const override { return m_preRead != nullptr; }

private:
    struct Cached {
        IfileObject file;
        boost::shared_ptr<IfileExtendedInfo> info;
    };

    static std::string KeyOf(const IfileObject& file);
    // What follows the reading of a description, whether it was read or not
    // (`content` is then empty): the conversion's messages, the flow told,
    // the compile order, the file-list comparison and the event.
    void AfterRead(const IfileObject& database, KemletContentIf& content, bool read, bool updateModel,
                   const boost::shared_ptr<IfileExtendedInfo>& previous);
    // LoadInfo; the files the description names that the project lacks are
    // registered (ItoolPallador::RegisterDescriptionLinks) with `registerLinks`.
    bool Load(const IfileObject& database, bool updateModel, bool compare, bool registerLinks);
    // Stores a description read, and with `registerLinks` registers the
    // files it names that the project lacks.
    void Store(const IfileObject& database, const KemletContentIf& content, bool registerLinks);
    void StopPreRead();

    mutable std::recursive_mutex m_lock;
    std::map<std::string, Cached> m_infos;
    std::unique_ptr<ifileDescriptionPreRead> m_preRead;
};

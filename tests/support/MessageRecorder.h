// Test double of the message sink: records every message, question and meter
// call while it lives. Installs itself on construction and puts the previous
// sink back on destruction.
#pragma once

#include <foundation/Mdb.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class MessageRecorder : public MdbSink {
public:
    // One output line or question as the sink saw it.
    struct Record {
        MdbMessage message;
        bool question = false;
        MdbQuery_result answer = MdbOK;  // what a question answered
    };
    struct MeterCall {
        enum Kind {
            Init,
            Update,
            Kill
        };
        Kind kind = Init;
        std::string catalogue;
        std::uint32_t number = 0;
        unsigned value = 0;  // updates
        MdbMessage message;  // init
    };

    MessageRecorder();
    // Restores the previous sink and forgets the scripted answers left over.
    ~MessageRecorder() override;
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void Output(const MdbMessage& message) override;
    // Answers with the scripted answer, else the default answer.
    MdbQuery_result Query(const MdbMessage& message) override;
    void MeterInit(const MdbMessage& message) override;
    void MeterUpdate(const std::string& catalogue, std::uint32_t number, unsigned value) override;
    void MeterKill(const std::string& catalogue, std::uint32_t number) override;

    // Queues the answer of the next question with this id.
    void AnswerNext(const std::string& id, MdbQuery_result answer);

    std::vector<Record> Records() const;
    std::vector<MdbMessage> Messages() const;
    std::vector<MdbMessage> WithId(const std::string& id) const;
    std::vector<std::string> Texts() const;
    std::vector<MeterCall> MeterCalls() const;
    void Clear();

private:
    void Add(Record record);

    MdbSink* m_previous;
    mutable std::mutex m_lock;
    std::vector<Record> m_records;
    std::vector<MeterCall> m_meterCalls;
};

#include "MessageRecorder.h"

#include <utility>

MessageRecorder::MessageRecorder() : m_previous(MdbSetSink(this)) {}

MessageRecorder::~MessageRecorder()
{
    MdbSetSink(m_previous);
    MdbClearScriptedAnswers();
}

void MessageRecorder::Add(Record record)
{
    std::lock_guard lock(m_lock);
    m_records.push_back(std::move(record));
}

void MessageRecorder::Output(const MdbMessage& message) { Add({message, false, MdbOK}); }

MdbQuery_result MessageRecorder::Query(const MdbMessage& message)
{
    const MdbQuery_result answer = message.scriptedAnswer.value_or(message.defaultAnswer);
    Add({message, true, answer});
    return answer;
}

void MessageRecorder::MeterInit(const MdbMessage& message)
{
    std::lock_guard lock(m_lock);
    m_meterCalls.push_back({MeterCall::Init, message.catalogue, message.number, 0, message});
}

void MessageRecorder::MeterUpdate(const std::string& catalogue, std::uint32_t number, unsigned value)
{
    std::lock_guard lock(m_lock);
    m_meterCalls.push_back({MeterCall::Update, catalogue, number, value, {}});
}

void MessageRecorder::MeterKill(const std::string& catalogue, std::uint32_t number)
{
    std::lock_guard lock(m_lock);
    m_meterCalls.push_back({MeterCall::Kill, catalogue, number, 0, {}});
}

void MessageRecorder::AnswerNext(const std::string& id, MdbQuery_result answer) { MdbPushScriptedAnswer(id, answer); }

std::vector<MessageRecorder::Record> MessageRecorder::Records() const
{
    std::lock_guard lock(m_lock);
    return m_records;
}

std::vector<MdbMessage> MessageRecorder::Messages() const
{
    std::vector<MdbMessage> messages;
    for (Record& record : Records()) messages.push_back(std::move(record.message));
    return messages;
}

std::vector<MdbMessage> MessageRecorder::WithId(const std::string& id) const
{
    std::vector<MdbMessage> messages = Messages();
    std::erase_if(messages, [&](const MdbMessage& message) { return message.id != id; });
    return messages;
}

std::vector<std::string> MessageRecorder::Texts() const
{
    std::vector<std::string> texts;
    for (const MdbMessage& message : Messages()) texts.push_back(message.text);
    return texts;
}

std::vector<MessageRecorder::MeterCall> MessageRecorder::MeterCalls() const
{
    std::lock_guard lock(m_lock);
    return m_meterCalls;
}

void MessageRecorder::Clear()
{
    std::lock_guard lock(m_lock);
    m_records.clear();
    m_meterCalls.clear();
}

// A message sink that writes nothing and answers every question with its
// default: fuzz targets and benchmarks measure and probe, they do not talk.
#pragma once

#include <foundation/Mdb.h>

#include <cstdint>
#include <string>

class SilentSink : public MdbSink {
public:
    void Output(const MdbMessage&) override {}
    MdbQuery_result Query(const MdbMessage& message) override { return message.defaultAnswer; }
    void MeterInit(const MdbMessage&) override {}
    void MeterUpdate(const std::string&, std::uint32_t, unsigned) override {}
    void MeterKill(const std::string&, std::uint32_t) override {}
};

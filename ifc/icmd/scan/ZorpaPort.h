// A port of an entity, component or module as the HDL scanners read it.
#pragma once

#include <zorpa/ZorpaModule.h>

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <deque>
#include <string>

class ZorpaPort {
public:
    enum Direction : std::uint32_t {
        NotSet = 0,
        In = 1,
        Out = 2,  // also every VHDL mode but in and inout
        InOut = 3
    };

    // The name is compared with its case only for a port of a Verilog unit.
    // A scalar port has the bounds -1, -1.
    ZorpaPort(const std::string& name, std::uint32_t direction, zorpaModuleTypes unitKind, std::int32_t left = -1,
              std::int32_t right = -1);
    virtual ~ZorpaPort() = default;

    const std::string& GetName() const { return m_name; }
    std::uint32_t GetDirection() const { return m_direction; }
    std::int32_t GetLeft() const { return m_left; }
    std::int32_t GetRight() const { return m_right; }
    bool IsCaseSensitive() const { return m_caseSensitive; }
    void SetDirection(std::uint32_t direction) { m_direction = direction; }
    void SetBounds(std::int32_t left, std::int32_t right)
    {
        m_left = left;
        m_right = right;
    }

private:
    std::string m_name;
    std::uint32_t m_direction;
    std::int32_t m_left;
    std::int32_t m_right;
    bool m_caseSensitive;
};

// The ports of one clause, in order of appearance; empty or null for none.
using ZorpaPortList = boost::shared_ptr<std::deque<boost::shared_ptr<ZorpaPort>>>;

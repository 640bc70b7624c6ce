// The ports of a block-design module: a name, a direction, and either one
// bit (a scalar port) or a bus with its two bounds as declared (left first:
// [7:0] and (7 downto 0) give 7 and 0, (0 to 7) gives 0 and 7).
#pragma once

#include <string>
#include <utility>

namespace Vymodel {

class VyBusPort;
class VyScalarPort;

class VyDirection {
public:
    enum Value {
        In,
        Out,
        InOut
    };

    explicit VyDirection(Value value) : m_value(value) {}
    Value GetValue() const { return m_value; }
    // "IN", "OUT" or "INOUT".
    std::string toString() const;

private:
    Value m_value;
};

// Double dispatch over the kinds of port; each visit does nothing unless
// overridden.
class VyPortVisitor {
public:
    virtual ~VyPortVisitor() = default;
    virtual void Visit(VyBusPort* /*port*/) {}
    virtual void Visit(VyScalarPort* /*port*/) {}
};

class VyPort {
public:
    virtual ~VyPort() = default;

    const std::string& GetName() const { return m_name; }
    const VyDirection& GetDirection() const { return m_direction; }
    // Calls the visitor's visit of the port's own kind.
    virtual void Accept(VyPortVisitor& visitor) = 0;

protected:
    VyPort(std::string name, VyDirection direction) : m_name(std::move(name)), m_direction(direction) {}

private:
    std::string m_name;
    VyDirection m_direction;
};

class VyScalarPort : public VyPort {
public:
    VyScalarPort(std::string name, VyDirection direction) : VyPort(std::move(name), direction) {}
    void Accept(VyPortVisitor& visitor) override { visitor.Visit(this); }
};

class VyBusPort : public VyPort {
public:
    VyBusPort(std::string name, VyDirection direction, int left, int right)
        : VyPort(std::move(name), direction), m_left(left), m_right(right)
    {
    }
    void Accept(VyPortVisitor& visitor) override { visitor.Visit(this); }
    // The left and the right bound, as declared.
    std::pair<int, int> GetBusRange() const { return {m_left, m_right}; }

private:
    int m_left;
    int m_right;
};

}  // namespace Vymodel

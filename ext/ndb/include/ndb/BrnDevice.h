// The netlist library's description of a target device: family, die and
// package as the user sees them (external, displayed names).
#pragma once

#include <string>

class BrnDevice {
public:
    BrnDevice() = default;
    BrnDevice(const std::string& family, const std::string& die, const std::string& package)
        : family(family), die(die), package(package)
    {
    }
    BrnDevice(const BrnDevice&) = default;
    BrnDevice& operator=(const BrnDevice&) = default;
    virtual ~BrnDevice();

    std::string family;
    std::string die;
    std::string package;
};

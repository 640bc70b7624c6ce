// A core design of the core-design library: the design a workspace
// component holds (a generated core, a block design, the HDL or schematic
// files of a unit). It knows its files, its build status and the device it
// was made for.
#pragma once

#include <ndb/BrnDevice.h>
#include <vy/IComponent.h>

#include <string>
#include <vector>

class IIDEObject;

namespace Brndesign {

// The build status of a design: a text for the user and a number of the
// library's own (0 generated, 1 saved since, 2 out of date).
struct CoreStatus {
    std::string text;
    int code = 0;

    friend bool operator==(const CoreStatus&, const CoreStatus&) = default;
};

class DesignBase : public VyIfaces::IDesignObject {
public:
    DesignBase() = default;
    // The device is the one the design was made for (an empty family: none).
    DesignBase(std::vector<std::string> files, const BrnDevice& device, int state)
        : m_files(std::move(files)), m_device(device), m_state(state)
    {
    }

    CoreStatus getStatus() const;
    // The full names of the design's own files, in its order.
    const std::vector<std::string>& getFiles() const { return m_files; }
    const BrnDevice& getDevice() const { return m_device; }
    // Whether the design can be used on `device`: a design made for no
    // family suits every device, any other one the devices of its family
    // (letter case ignored). The environment is not needed to tell.
    bool IsDeviceSupported(IIDEObject* environment, const BrnDevice& device) const;

private:
    std::vector<std::string> m_files;
    BrnDevice m_device;
    int m_state = 1;
};

}  // namespace Brndesign

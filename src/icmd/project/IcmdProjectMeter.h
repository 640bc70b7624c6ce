// The progress meter of the project commands. Opening and saving each show
// one; a save that runs inside an open (the open saves at its end) leaves
// the open's meter alone, so that the bar never moves back.
#pragma once

class IcmdProjectMeter {
public:
    // Starts the meter "<label>..." unless one of these meters runs already.
    explicit IcmdProjectMeter(const char* label);
    // Closes the meter it started.
    ~IcmdProjectMeter();
    IcmdProjectMeter(const IcmdProjectMeter&) = delete;
    IcmdProjectMeter& operator=(const IcmdProjectMeter&) = delete;

    // The callback for the project-file reader: the meter's own when this
    // object started it, else none.
    using Callback = void (*)(unsigned int);
    Callback GetCallback() const { return m_owner ? m_callback : nullptr; }

private:
    bool m_owner;
    Callback m_callback;
};

// Cores added to the project one after the other as one batch (a refresh
// of every core, the consistency check after the workspace changed): the
// design's libraries are saved once around all of them, the flow hears of
// their HDL sources once, the root is chosen once, and what each core gives
// the units it defines is given only after the libraries are restored, so
// that a unit a file defines again has taken its data back first. A batch
// made while another one stands joins it; the outermost finishes the work
// when it goes, in the order the work was deferred.
#pragma once

#include "ifile/IfileObject.h"

#include <deque>
#include <functional>
#include <vector>

class IxmlSPIRITCoreBatch {
public:
    IxmlSPIRITCoreBatch();
    ~IxmlSPIRITCoreBatch();
    IxmlSPIRITCoreBatch(const IxmlSPIRITCoreBatch&) = delete;
    IxmlSPIRITCoreBatch& operator=(const IxmlSPIRITCoreBatch&) = delete;

    // The outermost batch standing; null when none stands.
    static IxmlSPIRITCoreBatch* Current();
    // HDL sources the batch added, for the flow.
    void AddSources(const std::deque<IfileObject>& sources);
    // Work to do once the libraries are restored.
    void Defer(std::function<void()> work);

private:
    bool m_outer;
    bool m_reading = false;
    bool m_hierarchyWasBlocked = false;
    std::deque<IfileObject> m_sources;
    std::vector<std::function<void()>> m_deferred;
};

// The object through which the block-design engine reports back to the
// design environment that drives it. The environment implements it and
// hands it out; the engine never owns it.
#pragma once

class IDEVeyrunCallBack {
public:
    // What a change of a component invalidates in the design flow.
    enum InvalidateMessage : int {
        InvalidateNothing = 0,
        InvalidateSynthesis = 1,  // the synthesis results of the units using it
        InvalidateLayout = 2,     // their place-and-route results
        InvalidateComponent = 3   // everything made from the component
    };

    virtual ~IDEVeyrunCallBack() = default;

protected:
    IDEVeyrunCallBack() = default;
    IDEVeyrunCallBack(const IDEVeyrunCallBack&) = default;
    IDEVeyrunCallBack& operator=(const IDEVeyrunCallBack&) = default;
};

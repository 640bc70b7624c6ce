// The object through which the block-design engine reports back to the
// design environment that drives it. The environment implements it and
// hands it out; the engine never owns it.
#pragma once

class IDEVeyrunCallBack {
public:
    virtual ~IDEVeyrunCallBack() = default;

protected:
    IDEVeyrunCallBack() = default;
    IDEVeyrunCallBack(const IDEVeyrunCallBack&) = default;
    IDEVeyrunCallBack& operator=(const IDEVeyrunCallBack&) = default;
};

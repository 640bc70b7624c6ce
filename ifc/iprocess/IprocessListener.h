// The host's listener, set on the process manager (outside the library): it
// hears of these messages before the process manager routes them. The
// values are the host's own; the manager passes them on unread.
#pragma once

#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelToolKinds.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>

class IfileObjectEx;
class ImodelModule;
class ImodelRevContextImpl;
class KemletContentIf;

class IprocessListener {
public:
    virtual ~IprocessListener() = default;

    virtual void ConstraintListChanged(ImodelModule* module, std::uint32_t value, ImodelFunctionType tool) = 0;
    virtual void DisplayItemsMessage1(std::uint32_t value, ImodelModule* module) = 0;
    virtual void Ide_pldFileDetected(KemletContentIf* content, boost::shared_ptr<IfileObjectEx> file) = 0;
    virtual void InputFileListChanged(boost::shared_ptr<IfileObjectEx> file, ImodelFunctionType tool) = 0;

    // A view (revision) of a unit changed: its design state, the state of
    // one of its tools, or the file it uses of a type. A listener that does
    // not follow views needs none of them.
    virtual void DesignStateOfRevisionChanged(ImodelRevContextImpl* /*revision*/) {}
    virtual void ToolStateOfRevisionChanged(ImodelFunctionType /*tool*/, ImodelRevContextImpl* /*revision*/) {}
    virtual void UsedFileOfRevisionChanged(zorpaFileManagerTypes /*type*/, ImodelRevContextImpl* /*revision*/) {}
};

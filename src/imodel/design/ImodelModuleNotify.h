// How design units and the design manager tell the rest of the model of a
// change: one event at once to the process-wide model's views, the
// need-save flag, and the design flow's change messages. Nothing happens
// once the process-wide model is gone (units destroyed while it is torn
// down) or while its managers are not there.
#pragma once

#include "ievent/Ievent.h"
#include "ievent/IeventView.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "iprocess/QuorlaneStateMachine.h"

#include <boost/shared_ptr.hpp>

#include <utility>

// The process-wide model, or null once it is gone.
inline Imodel* ImodelAliveModel()
{
    Imodel& model = Imodel::GetInstance();
    return Imodel::IsAlive(&model) ? &model : nullptr;
}

// Delivers one event at once (deferral allowed), as a command's single
// notification does.
inline void ImodelNotifyEvent(boost::shared_ptr<Ievent> event)
{
    if (Imodel* model = ImodelAliveModel()) model->SendEvent(std::move(event), true);
}

// Whether an event of `Event` sent now may reach anyone: a view alive that
// hears it, or the host's dispatcher, which takes the batches while the
// shell is interactive. For events whose delivery does nothing but tell
// the views.
template <class Event>
inline bool ImodelMayBeHeard()
{
    // The two counters first: a scan asks twice per link.
    if (!IeventView::MayBeHeard<Event>() && !Imodel::IsInteractiveMode()) return false;
    Imodel* model = ImodelAliveModel();
    if (model == nullptr) return false;
    return IeventView::MayBeHeard<Event>() || model->GetHost() != nullptr;
}

inline ImodelDesignManager* ImodelAliveDesignManager()
{
    Imodel* model = ImodelAliveModel();
    return model ? model->GetDesignManager() : nullptr;
}

inline void ImodelMarkNeedSave()
{
    if (ImodelDesignManager* design = ImodelAliveDesignManager()) design->SetNeedSave(true);
}

// The receiver of the design flow's change messages; null once the model is gone.
inline QuorlaneStateMachine* ImodelAliveStateMachine()
{
    Imodel* model = ImodelAliveModel();
    return model ? model->GetStateMachine() : nullptr;
}

// Whether debug traces are on (the model's DEBUG_MSG setting).
inline bool ImodelIsDebugMsg()
{
    Imodel* model = ImodelAliveModel();
    return model != nullptr && model->IsDebugMsg();
}

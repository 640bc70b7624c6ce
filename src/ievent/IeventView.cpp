#include "ievent/IeventView.h"

#include "imodel/model/Imodel.h"

IeventView::IeventView(Imodel* model) : m_model(model ? model : &Imodel::GetInstance()) { m_model->RegisterView(this); }

IeventView::~IeventView()
{
    if (Imodel::IsAlive(m_model)) m_model->UnregisterView(this);
}

void IeventView::UpdateViews(const IeventBatch& events)
{
    for (const boost::shared_ptr<Ievent>& event : events) {
        if (event) event->Notify(this);
    }
}

#include "RecordingHost.h"

#include "imodel/model/Imodel.h"

RecordingHost::RecordingHost(Imodel* model)
    : m_model(model ? model : &Imodel::GetInstance()), m_previous(m_model->GetHost())
{
    m_model->SetHost(this);
}

RecordingHost::~RecordingHost()
{
    if (Imodel::IsAlive(m_model) && m_model->GetHost() == this) m_model->SetHost(m_previous);
}

void RecordingHost::DeliverDispatched()
{
    std::vector<IeventBatch> batches;
    batches.swap(m_dispatched);
    for (const IeventBatch& batch : batches) Imodel::GetInstance().SendEvents(batch, false);
}

// Sets one of the model's process-wide flags for the length of a block and
// puts back the value it had before, also when the block is left early.
#pragma once

class ImodelSetAndRestoreModelFlagObject {
public:
    ImodelSetAndRestoreModelFlagObject(bool& flag, bool value) : m_flag(flag), m_previous(flag) { m_flag = value; }
    // Writes the remembered value back; the destructor writes it again.
    void Unset() { m_flag = m_previous; }
    virtual ~ImodelSetAndRestoreModelFlagObject() { m_flag = m_previous; }

    ImodelSetAndRestoreModelFlagObject(const ImodelSetAndRestoreModelFlagObject&) = delete;
    ImodelSetAndRestoreModelFlagObject& operator=(const ImodelSetAndRestoreModelFlagObject&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};

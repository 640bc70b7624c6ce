// IcmdParam<T>: a typed command parameter whose value is a model object and
// whose meaning may depend on other parameters of the same command, its
// children. The children are converted and validated before the parameter
// itself, count in its validity and are released after it. Every Tcl
// argument class of the library derives from it.
//
// A child is an ordinary parameter of the same command, so the command
// manager visits it on its own as well. Each run converts and validates a
// parameter once: a second visit in the same run answers the first one's
// result without converting (or reporting) again. The run ends with
// exitObject, or starts afresh with Reset.
#pragma once

#include <foundation/AcmdBase.h>
#include <foundation/AcmdEnum.h>
#include <foundation/AcmdParam.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

template <typename T>
class IcmdParam : public AcmdTypedParam<T> {
public:
    IcmdParam(const char* name, AcmdBase* owner, AcmdValueType type, bool required, T defaultValue, bool rejectDefault,
              const char* label)
        : AcmdTypedParam<T>(name, owner, type, required, std::move(defaultValue), rejectDefault, label)
    {
    }
    // The children are not owned through this list.
    ~IcmdParam() override = default;

    void initAndValidateObject(AcmdEnum::Result& result) override
    {
        if (!m_validation) {
            AcmdEnum::Result own = AcmdEnum::Success;
            AcmdBase::initAndValidateAll(m_children, own);
            ValidateOwnValue(own);
            m_validation = own;
        }
        if (*m_validation != AcmdEnum::Success) result = AcmdEnum::Failure;
    }

    bool isSetAndValid() const override
    {
        return AcmdTypedParam<T>::isSetAndValid() && AcmdBase::isAllSetAndValid(m_children) == 0;
    }

    void exitObject() override
    {
        AcmdTypedParam<T>::exitObject();
        AcmdBase::exitAll(m_children);
        m_validation.reset();
    }

    // New texts (or values set in code) call for a new validation.
    AcmdEnum::Result SetValueTexts(std::vector<std::string> texts) override
    {
        m_validation.reset();
        return AcmdTypedParam<T>::SetValueTexts(std::move(texts));
    }
    AcmdEnum::Result AppendValueText(std::string text) override
    {
        m_validation.reset();
        return AcmdTypedParam<T>::AppendValueText(std::move(text));
    }

    void Reset() override
    {
        AcmdTypedParam<T>::Reset();
        m_validation.reset();
    }

    const std::vector<AcmdParam*>& GetChildren() const { return m_children; }

protected:
    // Ties a parameter of the same command to this one.
    void AddChild(AcmdParam* child)
    {
        if (child) m_children.push_back(child);
    }

    // The parameter's own conversion and checks, after its children's; the
    // template's conversion unless a class adds checks of its own. It does
    // nothing more once `result` is a failure.
    virtual void ValidateOwnValue(AcmdEnum::Result& result) { AcmdTypedParam<T>::initAndValidateObject(result); }

private:
    std::vector<AcmdParam*> m_children;
    // The outcome of this run's validation; empty until it ran.
    std::optional<AcmdEnum::Result> m_validation;
};

// Ids for model objects that may die while referenced, so that a holder can
// tell later whether the object it refers to still lives. The interface
// only: design units get no ids (ImodelModule::GetValidityChecker is null);
// they are known to the change events through IeventModuleRegistry instead.
#pragma once

template <class T>
class ImodelObjectValidityChecker {
public:
    virtual ~ImodelObjectValidityChecker() = default;

    // Gives the object the next id and records it as valid.
    virtual void CreatingNewObject(T* object) = 0;
    // Moves the object's id from the valid ids to the deleted ones.
    virtual void DeletingObject(T* object) = 0;
    // The id recorded last for the object; -1 for null or an object never
    // recorded.
    virtual int GetObjectID(T* object) = 0;
};

// What a generated project file was derived from: its predecessor files and
// the design unit it implements. A project member file (IfileObjectEx) owns
// at most one such record and keeps a clone of every record it is given.
// The family of concrete records comes with the derived-file work; this base
// holds what the owning file needs: the owner and the clone.
#pragma once

class IfileObjectEx;

class IfilePredecessorObject {
public:
    virtual ~IfilePredecessorObject() = default;

    // A new copy of this record for `owner`; the caller owns it.
    virtual IfilePredecessorObject* Clone(IfileObjectEx* owner) const = 0;

    // The member file that holds this record; not owned.
    IfileObjectEx* GetOwner() const { return m_owner; }

protected:
    explicit IfilePredecessorObject(IfileObjectEx* owner) : m_owner(owner) {}
    IfilePredecessorObject(const IfilePredecessorObject&) = delete;
    IfilePredecessorObject& operator=(const IfilePredecessorObject&) = delete;

private:
    IfileObjectEx* m_owner;
};

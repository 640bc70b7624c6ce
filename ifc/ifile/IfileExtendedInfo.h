// What the extended-info cache keeps of one file: for a design database
// (type 4) the parsed place-and-route description beside it. Callers never
// see the cached object itself, only copies (Clone), and read them through a
// visitor.
#pragma once

#include <kemlet/KemletContentIf.h>

#include <boost/shared_ptr.hpp>

#include <memory>

class IfileExtendedInfoVisitor;
class ifileExtendedADB;

class IfileExtendedInfo {
public:
    virtual ~IfileExtendedInfo() = default;

    // Calls the visitor's Visit with this object.
    virtual void Accept(IfileExtendedInfoVisitor& visitor) = 0;
    // A deep copy: the copy shares nothing with this object.
    virtual std::unique_ptr<IfileExtendedInfo> Clone() const = 0;

protected:
    IfileExtendedInfo() = default;
    IfileExtendedInfo(const IfileExtendedInfo&) = default;
    IfileExtendedInfo& operator=(const IfileExtendedInfo&) = default;
};

class IfileExtendedInfoVisitor {
public:
    virtual ~IfileExtendedInfoVisitor() = default;
    virtual void Visit(ifileExtendedADB& info) = 0;
};

// The description of a design database, held as its own copy of the content
// it was made from.
class ifileExtendedADB : public IfileExtendedInfo {
public:
    explicit ifileExtendedADB(const KemletContentIf& content) : m_content(content) {}

    void Accept(IfileExtendedInfoVisitor& visitor) override { visitor.Visit(*this); }
    std::unique_ptr<IfileExtendedInfo> Clone() const override { return std::make_unique<ifileExtendedADB>(m_content); }

    const KemletContentIf& GetContent() const { return m_content; }

private:
    KemletContentIf m_content;
};

// A copy of the description's content; null for a null info.
std::unique_ptr<KemletContentIf> IfileCastFromADBInfo(const boost::shared_ptr<IfileExtendedInfo>& info);

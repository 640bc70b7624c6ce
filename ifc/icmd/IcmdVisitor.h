// A visitor of commands: code outside the library that must recognise a
// command by its class (a host that treats opening a project apart) derives
// from it. A command that is to be recognised adds an operation for its own
// class here, with an empty default body, and calls it from its Accept.
#pragma once

class IcmdOpenProject;

class IcmdVisitor {
public:
    virtual ~IcmdVisitor() = default;

    // open_project, before or after its run.
    virtual void Visit(IcmdOpenProject& /*command*/) {}

protected:
    IcmdVisitor() = default;
    IcmdVisitor(const IcmdVisitor&) = default;
    IcmdVisitor& operator=(const IcmdVisitor&) = default;
};

// An option object of the model: a setting that lives in the options
// database and may also be stored in the project file. Whoever holds one
// hands it the key and value of each project-file line; the option decides
// by the key whether the line is its own.
#pragma once

#include <ostream>
#include <string>

class ImodelOptionVisitor;

class ImodelVarOption {
public:
    virtual ~ImodelVarOption() = default;

    // Puts the default value back.
    virtual void SetDefault() = 0;
    // Writes the option's project-file line ("key=value\n"), if it has one.
    virtual void Write(std::ostream* stream) = 0;
    // Takes the value of a project-file line whose key is the option's own.
    virtual void Read(std::string key, std::string value) = 0;
    // Whether `name` names this option.
    virtual bool IsIdentifier(const char* name) = 0;
    // Whether the option is a user setting that is not stored in the project.
    virtual bool IsUSERDefVar() = 0;
    virtual void Accept(ImodelOptionVisitor* visitor) = 0;

protected:
    ImodelVarOption() = default;
    ImodelVarOption(const ImodelVarOption&) = default;
    ImodelVarOption& operator=(const ImodelVarOption&) = default;
};

// What the file and tool nodes share to walk the flow graph backwards.
#pragma once

#include <algorithm>
#include <vector>

class ImodelModule;
class ImodelRevContext;
class IprocessFileObject;
class IprocessToolObject;

namespace iprocessGraphWalk {

template <class T>
bool Holds(const std::vector<T*>& list, const T* item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Adds the tools, then the files, that reach a node through `fromTools` and
// `fromFiles`, each once; with `recursive`, what precedes them too. False
// without both lists, or when a node further up answers false.
template <class ToolTransitions, class FileTransitions>
bool AddPreceding(const ToolTransitions& fromTools, const FileTransitions& fromFiles,
                  std::vector<IprocessFileObject*>* files, std::vector<IprocessToolObject*>* tools, bool recursive,
                  ImodelModule* module, ImodelRevContext* revision)
{
    if (!files || !tools) return false;
    for (const auto* transition : fromTools) {
        for (IprocessToolObject* tool : transition->GetFromsList()) {
            if (Holds(*tools, tool)) continue;
            tools->push_back(tool);
            if (recursive && !tool->GetAllFilesAndToolsPrecedingYou(files, tools, true, module, revision)) return false;
        }
    }
    for (const auto* transition : fromFiles) {
        for (IprocessFileObject* source : transition->GetFromsList()) {
            if (Holds(*files, source)) continue;
            files->push_back(source);
            if (recursive && !source->GetAllFilesAndToolsPrecedingYou(files, tools, true, module, revision))
                return false;
        }
    }
    return true;
}

}  // namespace iprocessGraphWalk

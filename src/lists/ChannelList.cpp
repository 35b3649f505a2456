#include "ChannelList.h"

namespace tavin::lists {

std::string problemLine(const std::string &source, const ListProblem &problem)
{
    std::string line = source + ":" + std::to_string(problem.line) + ": ";
    if (!problem.column.empty())
        line += problem.column + ": ";
    return line + problem.message;
}

bool ChannelList::hasSettings() const
{
    for (const std::optional<int> &setting : settings) {
        if (setting)
            return true;
    }
    return false;
}

}  // namespace tavin::lists

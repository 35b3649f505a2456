#include "ChannelList.h"

namespace tavin::lists {

std::string problemLine(const std::string &source, const ListProblem &problem)
{
    std::string line = source + ":" + std::to_string(problem.line) + ": ";
    if (!problem.column.empty())
        line += problem.column + ": ";
    return line + problem.message;
}

std::string channelNames(const std::vector<int> &channels)
{
    std::string out = channels.size() == 1 ? "channel " : "channels ";
    for (std::size_t i = 0; i < channels.size(); ++i)
        out += (i ? ", " : "") + std::to_string(channels[i]);
    return out;
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

#include "DeviceLink.h"

#include <system_error>

namespace tavin::sim {

namespace fs = std::filesystem;

std::unique_ptr<DeviceLink> DeviceLink::create(const fs::path &path, const fs::path &target, std::string &error)
{
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        error = "cannot make the link " + path.string() + ": something other than a link is there";
        return nullptr;
    }
    if (fs::is_symlink(status) && !fs::remove(path, ec)) {
        error = "cannot replace the old link " + path.string() + ": " + ec.message();
        return nullptr;
    }
    fs::create_symlink(target, path, ec);
    if (ec) {
        error = "cannot make the link " + path.string() + ": " + ec.message();
        return nullptr;
    }
    return std::unique_ptr<DeviceLink>(new DeviceLink(path, target));
}

DeviceLink::~DeviceLink()
{
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(m_path, ec)) && fs::read_symlink(m_path, ec) == m_target)
        fs::remove(m_path, ec);
}

}  // namespace tavin::sim

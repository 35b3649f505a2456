// A symbolic link with a fixed name to the pseudo-terminal's device, so that
// scripts and settings can name the radio the same way every time.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace tavin::sim {

class DeviceLink {
public:
    // Makes path point to target, replacing an old symbolic link there (but
    // never a file or directory). nullptr with error filled in on failure.
    static std::unique_ptr<DeviceLink> create(const std::filesystem::path &path, const std::filesystem::path &target,
                                              std::string &error);
    // Removes the link, unless something else has taken its place meanwhile.
    ~DeviceLink();
    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

private:
    DeviceLink(std::filesystem::path path, std::filesystem::path target)
        : m_path(std::move(path)), m_target(std::move(target))
    {
    }
    std::filesystem::path m_path;
    std::filesystem::path m_target;
};

}  // namespace tavin::sim

// Every test program keeps settings and data in a folder of its own, made
// before main() and removed when the program ends; the programs a test starts
// inherit it. So no test run reads or changes the user's own settings (the
// recent-file list, the port mapping) or adds to the read backups in the
// user's data folder, whichever files the test opens or saves.
#ifndef _WIN32

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

struct OwnSettings {
    std::string folder;

    OwnSettings()
    {
        std::error_code ec;
        std::string name = (std::filesystem::temp_directory_path(ec) / "tavin-test-settings-XXXXXX").string();
        if (ec || !::mkdtemp(name.data()))
            std::abort();  // a test must never fall back to the user's settings
        folder = name;
        ::setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
    }

    ~OwnSettings()
    {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

const OwnSettings g_ownSettings;

}  // namespace

#endif

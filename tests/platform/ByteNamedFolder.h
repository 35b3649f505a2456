// A temporary folder for files whose names are not UTF-8. QTemporaryDir
// cannot remove those (Qt loses the bytes that make their names), so this
// one removes its contents through the native path first.
#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <system_error>

namespace tavin::test {

class ByteNamedFolder : public QTemporaryDir {
public:
    ~ByteNamedFolder()
    {
        if (!isValid())
            return;
        std::error_code ec;
        std::filesystem::remove_all(QFile::encodeName(path()).toStdString(), ec);
    }
};

}  // namespace tavin::test

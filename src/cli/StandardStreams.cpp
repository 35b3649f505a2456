#include "StandardStreams.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace tavin::cli {

namespace {

void makeBinary(FILE *stream)
{
#if defined(_WIN32)
    _setmode(_fileno(stream), _O_BINARY);
#else
    (void)stream;
#endif
}

}  // namespace

bool readStandardInput(QByteArray *bytes, qsizetype limit, QString *error)
{
    // The C library's own reads: Qt's file class on Windows takes the end of
    // a pipe for a read error there.
    makeBinary(stdin);
    bytes->clear();
    std::vector<char> buffer(64 * 1024);
    while (bytes->size() <= limit) {
        errno = 0;
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), stdin);
        bytes->append(buffer.data(), qsizetype(got));
        if (got == buffer.size())
            continue;
        if (std::ferror(stdin)) {
            *error = errno ? QString::fromLocal8Bit(std::strerror(errno)) : QStringLiteral("read error");
            return false;
        }
        break;  // the end of the input
    }
    return true;
}

bool writeStandardOutput(const QByteArray &bytes)
{
    std::fflush(stdout);
    makeBinary(stdout);
    const auto size = static_cast<std::size_t>(bytes.size());
    return std::fwrite(bytes.constData(), 1, size, stdout) == size && std::fflush(stdout) == 0;
}

}  // namespace tavin::cli

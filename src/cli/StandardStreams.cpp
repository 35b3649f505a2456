#include "StandardStreams.h"

#include <QFile>

#include <cstdio>

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
    makeBinary(stdin);
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        *error = in.errorString();
        return false;
    }
    bytes->clear();
    while (bytes->size() <= limit) {
        const QByteArray chunk = in.read(64 * 1024);
        if (chunk.isEmpty()) {
            if (in.error() != QFileDevice::NoError) {
                *error = in.errorString();
                return false;
            }
            break;
        }
        bytes->append(chunk);
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

#include "VerifyRadio.h"

#include "ExitCodes.h"
#include "ImageComparison.h"

#include <QTextStream>

namespace tavin::cli {

int verifyRadio(const RadioOptions &options, const RadioImage &expected)
{
    RadioImage radio;
    if (const int code = runTransfer(options, link::Direction::Read, radio))
        return code;
    const std::vector<std::string> differences = describeDifferences(expected, radio);
    if (differences.empty()) {
        QTextStream(stderr) << "verify: the radio matches bytes 0x000 to 0x3D7 of the file\n";
        return kExitOk;
    }
    QTextStream out(stdout);
    for (const std::string &line : differences)
        out << QString::fromStdString(line) << '\n';
    QTextStream(stderr) << "verify: the radio differs from the file (" << differences.size() << " differences)\n";
    return kExitVerifyMismatch;
}

}  // namespace tavin::cli

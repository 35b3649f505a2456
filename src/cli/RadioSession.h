// One transfer with the radio from the command line: opens the port, runs
// the protocol with progress on stderr, and turns the outcome into an exit code.
#pragma once

#include "RadioImage.h"
#include "RadioProtocol.h"

#include <QString>

class QCommandLineParser;
class QCommandLineOption;

namespace tavin::cli {

struct RadioOptions {
    QString verb;          // "tavin-cli read", for messages
    QString port;          // "COM1".."COM4" or a device path
    int retries = 0;       // Retry answers to the Retry/Cancel question
};

// Adds --port and --retries to a verb's parser.
void addRadioOptions(QCommandLineParser &parser);
// Reads them back; on a bad value reports it and returns false.
bool radioOptionsFrom(const QCommandLineParser &parser, const QString &verb, RadioOptions &options);

// Parses a radio verb's arguments and its radio options. Returns false, with
// the exit code in *exitCode, when the verb should stop (--help or an error).
bool parseRadioVerb(QCommandLineParser &parser, const QStringList &args, RadioOptions &options, int *exitCode);

// Runs one read or write; returns kExitOk or the exit code of the outcome,
// which *outcome (when given) receives in full.
// A read changes image block by block (see RadioProtocol).
int runTransfer(const RadioOptions &options, link::Direction direction, RadioImage &image,
                link::TransferResult *outcome = nullptr);

// Checks that fileName can be written, reads the radio and stores all 1024
// bytes in fileName, only once every block has arrived. After any failure,
// failureNote (when given) follows the error as a line of its own. Returns
// an exit code.
int readRadioToFile(const RadioOptions &options, const QString &fileName, const QString &failureNote = {});

// The exit code for an outcome.
int exitCodeFor(link::TransferOutcome outcome);

}  // namespace tavin::cli

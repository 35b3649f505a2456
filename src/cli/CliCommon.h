// Small helpers the verbs share: paths, messages on stderr, loading a file.
#pragma once

#include "ChannelFile.h"
#include "Codec.h"
#include "RadioImage.h"

#include <QString>

#include <filesystem>

class QCommandLineParser;

namespace tavin::cli {

// A file name from the command line as a native path, byte for byte.
std::filesystem::path toPath(const QString &fileName);
// A file name for messages: quoted, bytes that are not UTF-8 as \xNN.
QString quoted(const QString &fileName);

// True when both names lead to one existing file (also through links).
bool sameFile(const QString &a, const QString &b);

// "tavin-cli <verb>: message" on stderr, as platform::shown() shows it.
void reportError(const QString &verb, const QString &message);

// Parses args; on --help prints the help and returns kExitOk through *exitCode,
// on an error prints it with the usage and returns kExitUsage. Returns true
// when the verb should go on.
bool parseOrExit(QCommandLineParser &parser, const QStringList &args, int *exitCode);

// The verb's one channel-file argument; reports a usage error and returns an
// empty text when there is not exactly one.
QString singleFileArgument(const QCommandLineParser &parser, const QString &verb);

// Loads a channel file for a verb that needs all 1024 bytes: an empty or a
// short file is an error; a longer file is used with a warning. Returns
// kExitOk or kExitFile.
int loadWholeChannelFile(const QString &verb, const QString &fileName, RadioImage &image);

// The verb's one channel-file argument, loaded whole into image. Returns
// kExitOk, kExitUsage or kExitFile; *fileName receives the argument.
int loadFileArgument(const QCommandLineParser &parser, const QString &verb, QString *fileName, RadioImage &image);

// Loads a whole channel file and decodes it as the editor shows it at start-up.
// Returns kExitOk or kExitFile.
int loadDecodedChannelFile(const QString &verb, const QString &fileName, ChannelTable &channels,
                           BoxSelections &selections);

}  // namespace tavin::cli

// One function per verb, each in its own file. Every verb gets the arguments
// after its name (args[0] is "tavin-cli <verb>") and returns an exit code.
#pragma once

#include <QStringList>

namespace tavin::cli {

int cmdNew(const QStringList &args);
int cmdDump(const QStringList &args);
int cmdPorts(const QStringList &args);
int cmdRead(const QStringList &args);
int cmdWrite(const QStringList &args);
int cmdVerify(const QStringList &args);
int cmdPrint(const QStringList &args);
int cmdExport(const QStringList &args);
int cmdImport(const QStringList &args);
int cmdDiff(const QStringList &args);
int cmdDoctor(const QStringList &args);
int cmdClone(const QStringList &args);

}  // namespace tavin::cli

// One radio of a fleet run, from the moment it answered: its backup is saved,
// the file is written, read back and compared, and the record goes to the
// audit log. Nothing is written to a radio whose backup is not safely saved.
#pragma once

#include "CloneOptions.h"
#include "RadioRecord.h"
#include "WorkerUi.h"

#include "RadioProtocol.h"

#include <functional>

namespace tavin::fleet {

class RadioJob {
public:
    // phase: told when the job moves to writing and to reading back.
    RadioJob(const CloneOptions &options, link::RadioProtocol &protocol, WorkerUi &ui,
             std::function<void(RadioStep)> phase);

    // Finishes the radio whose backup read ended with backupRead (original
    // holds what arrived). record comes with the radio's number, port, device
    // and start filled in; the rest is filled here (not the end time).
    void run(const link::TransferResult &backupRead, const RadioImage &original, RadioRecord &record);

private:
    bool saveBackup(const link::TransferResult &backupRead, const RadioImage &original, RadioRecord &record);
    bool write(RadioRecord &record);
    void readBack(RadioRecord &record);
    void fail(RadioRecord &record, RadioStep step, FailureKind kind, const QString &message, int block = -1);

    const CloneOptions &m_options;
    link::RadioProtocol &m_protocol;
    WorkerUi &m_ui;
    std::function<void(RadioStep)> m_phase;
};

// What failed, in a sentence: the protocol's own message (when it showed
// one) and the block, for messages and the log.
QString transferFailureText(const link::TransferResult &result, const QString &protocolMessage);

}  // namespace tavin::fleet

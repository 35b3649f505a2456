// What a transfer with the radio was, and how it ended.
#pragma once

namespace tavin::link {

enum class Direction { Read, Write };

enum class TransferOutcome {
    Completed,            // all blocks done
    PortOpenFailed,       // the port could not be opened: at the start (nothing was
                          // sent), or again after Retry on a port that had failed
    Cancelled,            // the user cancelled at a cancel test
    CancelledAtQuestion,  // Cancel in the Retry/Cancel question: the radio did not answer
    WriteNotAcknowledged, // a written block was not acknowledged
    ReadReplyShort,       // a read reply brought fewer than 12 bytes
    ReadAckMissing,       // the radio did not acknowledge our ACK of a read block
};

struct TransferResult {
    TransferOutcome outcome = TransferOutcome::Completed;
    // Read: blocks stored into the image (block n covers image bytes 8n..8n+7).
    // Write: blocks the radio acknowledged.
    int blocksDone = 0;
    // The block that failed (WriteNotAcknowledged, ReadReplyShort, ReadAckMissing), else -1.
    int failedBlock = -1;
    bool completed() const { return outcome == TransferOutcome::Completed; }
    // Of a write: it ended after the radio took part of the new programming
    // (blocksDone blocks acknowledged, or a block sent and not acknowledged),
    // so the radio holds a mix of new and old blocks until a write completes.
    bool leftRadioPartlyWritten() const
    {
        return !completed() && (blocksDone > 0 || outcome == TransferOutcome::WriteNotAcknowledged);
    }
};

}  // namespace tavin::link

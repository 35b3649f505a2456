#include "RadioJob.h"

#include "BackupNames.h"

#include "ImageComparison.h"
#include "NativePath.h"

#include <QCryptographicHash>
#include <QElapsedTimer>

namespace tavin::fleet {

using link::Direction;
using link::TransferOutcome;
using link::TransferResult;

namespace {

QByteArray sha256Hex(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray bytesOf(const RadioImage &image, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(image.data()), static_cast<qsizetype>(size));
}

QString address(int block)
{
    return QStringLiteral("0x%1").arg(block * link::wire::kBlockSize, 3, 16, QLatin1Char('0'));
}

double seconds(const QElapsedTimer &timer)
{
    return double(timer.elapsed()) / 1000.0;
}

}  // namespace

QString transferFailureText(const TransferResult &result, const QString &protocolMessage)
{
    QString text;
    switch (result.outcome) {
    case TransferOutcome::Completed:
        return {};
    case TransferOutcome::PortOpenFailed:
        text = QStringLiteral("the port cannot be opened");
        break;
    case TransferOutcome::Cancelled:
        text = QStringLiteral("cancelled");
        break;
    case TransferOutcome::CancelledAtQuestion:
        text = QStringLiteral("the radio does not answer");
        break;
    case TransferOutcome::WriteNotAcknowledged:
        text = QStringLiteral("the radio did not acknowledge block %1 (address %2)")
                   .arg(result.failedBlock)
                   .arg(address(result.failedBlock));
        break;
    case TransferOutcome::ReadReplyShort:
    case TransferOutcome::ReadAckMissing:
        text = QStringLiteral("read failed at block %1 (address %2)").arg(result.failedBlock).arg(address(result.failedBlock));
        break;
    }
    if (!protocolMessage.isEmpty())
        text = protocolMessage + QStringLiteral(" (") + text + QLatin1Char(')');
    return text;
}

RadioJob::RadioJob(const CloneOptions &options, link::RadioProtocol &protocol, WorkerUi &ui,
                   std::function<void(RadioStep)> phase)
    : m_options(options), m_protocol(protocol), m_ui(ui), m_phase(std::move(phase))
{
}

void RadioJob::fail(RadioRecord &record, RadioStep step, FailureKind kind, const QString &message, int block)
{
    record.result = RadioResult::Failed;
    record.failure = kind;
    record.step = step;
    record.block = block;
    record.message = message;
}

void RadioJob::run(const TransferResult &backupRead, const RadioImage &original, RadioRecord &record)
{
    record.file = platform::absolutePath(m_options.fileName);
    record.writtenSha256 = sha256Hex(bytesOf(m_options.image, layout::kWritableSize));
    record.identity = m_protocol.identity();
    if (!saveBackup(backupRead, original, record))
        return;
    if (!write(record))
        return;
    readBack(record);
}

bool RadioJob::saveBackup(const TransferResult &backupRead, const RadioImage &original, RadioRecord &record)
{
    const QString nothingWritten = QStringLiteral("; nothing was written to this radio");
    if (backupRead.outcome == TransferOutcome::Cancelled) {
        record.result = RadioResult::Cancelled;
        record.step = RadioStep::Backup;
        record.message = QStringLiteral("cancelled during the backup read") + nothingWritten;
        return false;
    }
    if (!backupRead.completed()) {
        fail(record, RadioStep::Backup, FailureKind::Transfer,
             QStringLiteral("the backup read failed: ") + transferFailureText(backupRead, m_ui.lastMessage())
                 + nothingWritten,
             backupRead.failedBlock);
        return false;
    }
    const QByteArray bytes = bytesOf(original, kImageSize);
    QString path;
    const FileResult saved = storeBackup(platform::absolutePath(m_options.backupDir),
                                         backupFileName(record.radio, record.port, record.start), bytes, &path);
    if (!saved) {
        fail(record, RadioStep::Backup, FailureKind::File,
             QStringLiteral("cannot save the backup: ") + QString::fromStdString(saved.error) + nothingWritten);
        return false;
    }
    record.backupFile = path;
    record.backupSha256 = sha256Hex(bytes);
    return true;
}

bool RadioJob::write(RadioRecord &record)
{
    m_phase(RadioStep::Write);
    m_ui.begin(WorkerUi::Mode::Transfer);
    QElapsedTimer timer;
    timer.start();
    RadioImage image = m_options.image;
    const TransferResult result = m_protocol.run(Direction::Write, record.port, image);
    record.times.writeSeconds = seconds(timer);
    record.blocksWritten = result.blocksDone;
    if (result.completed())
        return true;
    const QString kept = QStringLiteral("; its old programming is in the backup ") + record.backupFile;
    const QString mixed = QStringLiteral("; the radio now holds a mix of old and new blocks (the first %1 of 123 new)")
                              .arg(result.blocksDone);
    switch (result.outcome) {
    case TransferOutcome::Cancelled:
        record.result = RadioResult::Cancelled;
        record.step = RadioStep::Write;
        record.message = QStringLiteral("the write was cancelled")
                         + (result.blocksDone > 0 ? mixed : QStringLiteral("; nothing was written")) + kept;
        break;
    case TransferOutcome::PortOpenFailed:
        fail(record, RadioStep::Write, FailureKind::PortOpen,
             QStringLiteral("the port cannot be opened for the write; nothing was written") + kept);
        break;
    case TransferOutcome::CancelledAtQuestion:
        fail(record, RadioStep::Write, FailureKind::NoAnswer,
             QStringLiteral("the radio stopped answering before the write; nothing was written") + kept);
        break;
    default:
        fail(record, RadioStep::Write, FailureKind::Transfer,
             QStringLiteral("the write failed: ") + transferFailureText(result, m_ui.lastMessage())
                 + (result.blocksDone > 0 ? mixed : QStringLiteral("; nothing was written")) + kept,
             result.failedBlock);
        break;
    }
    return false;
}

void RadioJob::readBack(RadioRecord &record)
{
    m_phase(RadioStep::ReadBack);
    m_ui.begin(WorkerUi::Mode::Transfer);
    QElapsedTimer timer;
    timer.start();
    RadioImage radio;
    const TransferResult result = m_protocol.run(Direction::Read, record.port, radio);
    record.times.readBackSeconds = seconds(timer);
    const QString unverified = QStringLiteral("written completely, but not verified: ");
    if (result.outcome == TransferOutcome::Cancelled) {
        record.result = RadioResult::Cancelled;
        record.step = RadioStep::ReadBack;
        record.message = unverified + QStringLiteral("the read-back was cancelled");
        return;
    }
    if (!result.completed()) {
        fail(record, RadioStep::ReadBack, FailureKind::Unverified,
             unverified + QStringLiteral("the read-back failed: ") + transferFailureText(result, m_ui.lastMessage()),
             result.failedBlock);
        return;
    }
    const std::vector<std::string> differences = describeDifferences(m_options.image, radio);
    if (differences.empty()) {
        record.result = RadioResult::Verified;
        return;
    }
    record.result = RadioResult::VerifyMismatch;
    record.step = RadioStep::ReadBack;
    for (const std::string &line : differences)
        record.differences += QString::fromStdString(line);
    record.message = QStringLiteral("the radio differs from the file after the write (%1 difference%2); "
                                    "its old programming is in the backup %3")
                         .arg(differences.size())
                         .arg(differences.size() == 1 ? QString() : QStringLiteral("s"))
                         .arg(record.backupFile);
}

}  // namespace tavin::fleet

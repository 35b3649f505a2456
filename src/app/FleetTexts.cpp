#include "FleetTexts.h"

#include "RadioProtocol.h"

#include <algorithm>

using tavin::fleet::FailureKind;
using tavin::fleet::PortProblem;
using tavin::fleet::PortState;
using tavin::fleet::PortStatus;
using tavin::fleet::Problem;
using tavin::fleet::RadioRecord;
using tavin::fleet::RadioResult;
using tavin::fleet::RadioStep;

namespace {

QString ofRadio(const PortStatus &s, const QString &what)
{
    return FleetTexts::tr("第 %1 台：%2").arg(s.radio).arg(what);
}

}  // namespace

QString FleetTexts::portState(const PortStatus &s)
{
    const QString last = s.lastResult ? result(*s.lastResult) : QString();
    switch (s.state) {
    case PortState::Waiting:
        return tr("等待对讲机");
    case PortState::Backup:
        return ofRadio(s, tr("正在读取备份"));
    case PortState::Writing:
        return ofRadio(s, tr("正在写入"));
    case PortState::ReadingBack:
        return ofRadio(s, tr("正在回读核对"));
    case PortState::RadioDone:
        return ofRadio(s, tr("%1，请换下一台").arg(last));
    case PortState::Confirm:
        return ofRadio(s, tr("%1，接好下一台后按“继续”").arg(last));
    case PortState::PortMissing:
        switch (s.problem) {
        case PortProblem::NoDevice:
            return tr("找不到串口设备，正在重试");
        case PortProblem::InUse:
            return tr("端口被其他程序或主窗口的读写频占用，正在重试");
        case PortProblem::None:
        case PortProblem::OpenFailed:
            break;
        }
        return tr("端口无法打开（%1），正在重试").arg(s.portError);
    case PortState::Stopped:
        return tr("已停止");
    }
    return {};
}

QString FleetTexts::portRadios(int verified, int failed)
{
    QString text = tr("核对无误 %1 台").arg(verified);
    if (failed > 0)
        text += tr("，未成功 %1 台").arg(failed);
    return text;
}

QString FleetTexts::result(RadioResult result)
{
    switch (result) {
    case RadioResult::Verified:
        return tr("核对无误");
    case RadioResult::VerifyMismatch:
        return tr("核对不符");
    case RadioResult::Failed:
        return tr("失败");
    case RadioResult::Cancelled:
        return tr("已取消");
    }
    return {};
}

QString FleetTexts::inProgress()
{
    return tr("进行中");
}

QString FleetTexts::reason(const RadioRecord &r)
{
    const QString kept = tr("原数据见备份");
    switch (r.result) {
    case RadioResult::Verified:
        return {};
    case RadioResult::VerifyMismatch:
        return tr("写入后回读与文件有 %1 处不同，%2").arg(r.differences.size()).arg(kept);
    case RadioResult::Cancelled:
        if (r.step == RadioStep::Backup)
            return tr("读取备份时停止，未写入");
        if (r.step == RadioStep::ReadBack)
            return tr("已全部写入，回读核对时停止，未核对");
        if (r.blocksWritten == 0)
            return tr("写入前停止，未写入，%1").arg(kept);
        return tr("写入时停止：已写入 %1 块（共 %2 块），新旧数据混合，%3").arg(r.blocksWritten).arg(tavin::link::wire::kWriteBlockCount).arg(kept);
    case RadioResult::Failed:
        break;
    }
    switch (r.failure) {
    case FailureKind::File:
        return tr("备份无法保存，未写入");
    case FailureKind::PortOpen:
        return tr("写入时端口无法打开，未写入，%1").arg(kept);
    case FailureKind::NoAnswer:
        return tr("写入前对讲机不再应答，未写入，%1").arg(kept);
    case FailureKind::Unverified:
        return tr("已全部写入，但回读失败（第 %1 块），未核对").arg(r.block);
    case FailureKind::Transfer:
    case FailureKind::None:
        break;
    }
    if (r.step == RadioStep::Backup)
        return tr("读取备份失败（第 %1 块），未写入").arg(r.block);
    if (r.blocksWritten == 0)
        return tr("写入失败（第 %1 块），未写入，%2").arg(r.block).arg(kept);
    return tr("写入失败（第 %1 块）：已写入 %2 块（共 %3 块），新旧数据混合，%4")
        .arg(r.block)
        .arg(r.blocksWritten)
        .arg(tavin::link::wire::kWriteBlockCount)
        .arg(kept);
}

QString FleetTexts::totals(int verified, int failed)
{
    return tr("核对无误：%1 台　未成功：%2 台").arg(verified).arg(failed);
}

QString FleetTexts::summary(const QList<RadioRecord> &records, const QStringList &ports, const QStringList &labels)
{
    const auto count = [&records](const QString *port, bool verified) {
        return int(std::count_if(records.begin(), records.end(), [&](const RadioRecord &r) {
            return (!port || r.port == *port) && (r.result == RadioResult::Verified) == verified;
        }));
    };
    const int verified = count(nullptr, true);
    const int failed = count(nullptr, false);
    QString text = tr("共 %1 台：%2 台已写入并核对无误").arg(verified + failed).arg(verified);
    if (failed > 0)
        text += tr("，%1 台未成功").arg(failed);
    text += QLatin1Char('\n');
    for (qsizetype i = 0; i < ports.size(); ++i) {
        const QString &port = ports.at(i);
        text += tr("  %1：%2").arg(labels.value(i, port), portRadios(count(&port, true), count(&port, false)))
                + QLatin1Char('\n');
        QList<RadioRecord> sorted;
        for (const RadioRecord &r : records) {
            if (r.port == port && r.result != RadioResult::Verified)
                sorted << r;
        }
        std::sort(sorted.begin(), sorted.end(), [](const RadioRecord &a, const RadioRecord &b) { return a.radio < b.radio; });
        for (const RadioRecord &r : sorted)
            text += tr("    第 %1 台：%2，%3").arg(r.radio).arg(result(r.result), reason(r)) + QLatin1Char('\n');
    }
    return text;
}

QString FleetTexts::problem(const Problem &p)
{
    switch (p.cause) {
    case Problem::Cause::NoPort:
        return tr("请至少选择一个端口。");
    case Problem::Cause::NoDevice:
        return tr("找不到 %1 的串口设备。").arg(p.ports.value(0));
    case Problem::Cause::SameDevice:
        return tr("%1 和 %2 是同一个设备，每个端口只能选一次。").arg(p.ports.value(0), p.ports.value(1));
    case Problem::Cause::PortOpen:
        return tr("无法打开 %1（%2）。如果主窗口正在用这个端口读写频，请等它结束。").arg(p.ports.value(0), p.detail);
    case Problem::Cause::LogIsFile:
        return tr("审计日志不能是要写入的信道文件本身。");
    case Problem::Cause::BackupFolder:
        return tr("无法建立备份文件夹。\n\n%1").arg(p.detail);
    case Problem::Cause::BackupFiles:
        return tr("备份文件夹中无法保存文件。\n\n%1").arg(p.detail);
    case Problem::Cause::Log:
        return tr("无法写入审计日志。\n\n%1").arg(p.detail);
    }
    return p.message;
}

#include "RadioProbe.h"

#include "SystemSerialLink.h"
#include "RadioProtocol.h"
#include "TransferUi.h"

namespace tavin::doctor {

namespace {

// No window and no questions: the first round of probes decides.
class QuietUi final : public link::TransferUi {
public:
    void setStatusText(const QString &) override {}
    void setProgress(int) override {}
    bool cancelRequested() override { return false; }
    void pumpOnce() override {}
    void showMessage(const QString &) override {}
    bool askRetry(const QString &) override { return false; }
};

}  // namespace

ProbeResult SerialRadioProber::probe(const QString &portName)
{
    QuietUi ui;
    link::SystemSerialLink port;
    link::RadioProtocol protocol(port, ui);
    const link::TransferResult result = protocol.identify(portName);
    ProbeResult probe;
    probe.opened = result.outcome != link::TransferOutcome::PortOpenFailed;
    probe.answered = result.completed();
    probe.identity = protocol.identity();
    if (!probe.opened)
        probe.error = port.device().isEmpty() ? QStringLiteral("no device") : port.errorString();
    return probe;
}

}  // namespace tavin::doctor

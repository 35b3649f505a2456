#include "WorkerPort.h"

#include "DeviceLock.h"
#include "SystemSerialLink.h"

namespace tavin::fleet {

namespace {

class SerialWorkerPort final : public WorkerPort {
public:
    link::SerialLink &link() override { return m_port; }
    QString device() const override { return m_port.device(); }
    PortProblem problem() const override
    {
        // No name for it, or nothing under its name: the cable is not plugged in.
#ifdef Q_OS_WIN
        if (m_port.device().isEmpty() || m_port.openFailure() == link::WinSerialLink::OpenFailure::Missing)
#else
        if (m_port.device().isEmpty() || link::DeviceLock::identity(m_port.device()).isEmpty())
#endif
            return PortProblem::NoDevice;
        return m_port.inUse() ? PortProblem::InUse : PortProblem::OpenFailed;
    }
    QString errorString() const override { return m_port.errorString(); }

private:
    link::SystemSerialLink m_port;
};

}  // namespace

std::unique_ptr<WorkerPort> makeSerialWorkerPort()
{
    return std::make_unique<SerialWorkerPort>();
}

}  // namespace tavin::fleet

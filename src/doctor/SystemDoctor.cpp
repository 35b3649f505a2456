#include "SystemDoctor.h"

#include "SystemHostView.h"
#include "WindowsDoctor.h"

namespace tavin::doctor {

DoctorReport runSystemDoctor(const DoctorOptions &options, RadioProber *prober)
{
#ifdef Q_OS_WIN
    return runWindowsDoctor(SystemWindowsPortView(), options.port, options.probe, prober);
#else
    const SystemHostView host;
    return Doctor(host, prober).run(options);
#endif
}

}  // namespace tavin::doctor

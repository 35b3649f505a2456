// The cable check of the system the program runs on: Windows' checks on
// Windows, the Linux ones elsewhere. tavin-cli doctor and the window's
// "检查连接" both run it, so they always agree.
#pragma once

#include "Doctor.h"

namespace tavin::doctor {

// prober may be null when options.probe is false.
DoctorReport runSystemDoctor(const DoctorOptions &options, RadioProber *prober);

}  // namespace tavin::doctor

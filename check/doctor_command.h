// "doctor": whether clicked links reach this Tavrin and, for each thing
// that stops them, what to do. Exit status 0 when nothing does.
#pragma once
#include "check/check.h"
#include "check/options.h"

int runDoctorCommand(const CheckOptions& options, const CheckEnvironment& environment,
                     CheckOutput& output);

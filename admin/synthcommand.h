#pragma once

#include "synthoptions.h"

namespace admin {

// voucher-admin synth: a database of realistic size for measurements.
// The master tables are replaced by the demo data plus generated rows; an
// existing ledger is only dropped with --replace. Returns the exit code.
int runSynth(const SynthOptions& options);

} // namespace admin

#pragma once
// The tuning window's commands over the application.
#include "app/application.h"
#include "base/host.h"
#include "engine/tuning.h"

namespace veltrix {

// "適用": the fields become the parameters and the race on show is rebuilt with
// them (its figures are empty until the next calculation). True when a field
// could not be read (the parameters before it keep their new values) or the
// rebuild failed.
bool ApplyTuningFields(Application& app, const TuningFields& fields, Pump& pump);
// "予測自動調整ON": takes effect at the next calculation.
void SetAutoTuning(Application& app, bool on);
// "保存": the fields into the settings file; the parameters in memory stay. True on failure.
bool SaveTuningFields(Application& app, const TuningFields& fields, const BeforeReplace& beforeReplace = {});

}  // namespace veltrix

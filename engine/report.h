// The report text shown in the report box.
#ifndef VELLAMIRE_ENGINE_REPORT_H_
#define VELLAMIRE_ENGINE_REPORT_H_

#include <string>

#include "engine/rulers.h"
#include "engine/schedule.h"

namespace engine {

// The 40-line report of `schedule`: the times, the lengths, the day table and
// the night table, columns separated by TABs, every line ending in CR LF.
// Rulers are named from `table`. Cannot fail.
std::string RenderReport(const Schedule& schedule, const RulerTable& table);

}  // namespace engine

#endif  // VELLAMIRE_ENGINE_REPORT_H_

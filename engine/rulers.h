// The seven rulers of the planetary hours and their fixed cycle.
#ifndef VELLAMIRE_ENGINE_RULERS_H_
#define VELLAMIRE_ENGINE_RULERS_H_

#include <array>
#include <cstdint>
#include <string>

namespace engine {

// 1 Sun, 2 Venus, 3 Mercury, 4 Moon, 5 Saturn, 6 Jupiter, 7 Mars; any other
// value names no ruler.
using RulerNumber = std::uint8_t;

// The fourteen texts, planets first: the planet of ruler r is entry r - 1,
// its archangel entry r - 1 + 7. Empty until FillRulerTable stores them.
using RulerTable = std::array<std::string, 14>;

// Stores the planet and archangel of each ruler, pair by pair. Cannot fail.
void FillRulerTable(RulerTable& table);

// The ruler of the first day hour of weekday `day` (1 Sunday to 7 Saturday).
// Gives 0, which names no ruler, for a day outside 1-7.
RulerNumber FirstRulerOf(std::uint8_t day);

// The ruler after r in the cycle; 7 is followed by 1.
// Gives 0 for an r outside 1-7, so a bad ruler never turns into a good one.
RulerNumber NextRuler(RulerNumber r);

// The planet and archangel of ruler r.
// Give an empty text for an r outside 1-7.
const std::string& PlanetOf(const RulerTable& table, RulerNumber r);
const std::string& ArchangelOf(const RulerTable& table, RulerNumber r);

}  // namespace engine

#endif  // VELLAMIRE_ENGINE_RULERS_H_

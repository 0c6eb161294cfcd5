#include "engine/rulers.h"

namespace engine {
namespace {

constexpr int kRulers = 7;

bool IsRuler(int r) { return r >= 1 && r <= kRulers; }

// Reduces mod 7 only above 7, so that 7 itself stays 7.
RulerNumber Reduce(int x) { return static_cast<RulerNumber>(x > kRulers ? x % kRulers : x); }

// The text of a number that names no ruler. It lives at namespace scope: a
// function-local static would need a thread-safe guard around its first use.
const std::string kNoText;

}  // namespace

void FillRulerTable(RulerTable& table) {
  static constexpr const char* kPairs[kRulers][2] = {
      {"Sun", "Michael"},    {"Venus", "Anael"},     {"Mercury", "Raphael"}, {"Moon", "Gabriel"},
      {"Saturn", "Cassiel"}, {"Jupiter", "Sachiel"}, {"Mars", "Samael"},
  };
  for (int r = 0; r < kRulers; ++r) {
    table[static_cast<std::size_t>(r)] = kPairs[r][0];
    table[static_cast<std::size_t>(r + kRulers)] = kPairs[r][1];
  }
}

RulerNumber FirstRulerOf(std::uint8_t day) {
  if (!IsRuler(day)) return 0;
  return Reduce(3 * day - 2);
}

RulerNumber NextRuler(RulerNumber r) {
  if (!IsRuler(r)) return 0;
  return Reduce(r + 1);
}

const std::string& PlanetOf(const RulerTable& table, RulerNumber r) {
  return IsRuler(r) ? table[static_cast<std::size_t>(r - 1)] : kNoText;
}

const std::string& ArchangelOf(const RulerTable& table, RulerNumber r) {
  return IsRuler(r) ? table[static_cast<std::size_t>(r - 1 + kRulers)] : kNoText;
}

}  // namespace engine

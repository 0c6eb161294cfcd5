#include "engine/rulers.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

TEST(FirstRulerOf, EachWeekdayStartsWithItsPlanet) {
  RulerTable table;
  FillRulerTable(table);
  const struct {
    std::uint8_t Day;
    RulerNumber Ruler;
    const char* Planet;
    const char* Archangel;
  } kCases[] = {
      {1, 1, "Sun", "Michael"},     {2, 4, "Moon", "Gabriel"},    {3, 7, "Mars", "Samael"},
      {4, 3, "Mercury", "Raphael"}, {5, 6, "Jupiter", "Sachiel"}, {6, 2, "Venus", "Anael"},
      {7, 5, "Saturn", "Cassiel"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(FirstRulerOf(c.Day), c.Ruler) << int{c.Day};
    EXPECT_EQ(PlanetOf(table, FirstRulerOf(c.Day)), c.Planet) << int{c.Day};
    EXPECT_EQ(ArchangelOf(table, FirstRulerOf(c.Day)), c.Archangel) << int{c.Day};
  }
}

TEST(NextRuler, CyclesThroughTheSeven) {
  const RulerNumber kNext[] = {0, 2, 3, 4, 5, 6, 7, 1};
  for (RulerNumber r = 1; r <= 7; ++r) EXPECT_EQ(NextRuler(r), kNext[r]) << int{r};

  // The thirteenth hour of a Sunday is Jupiter's.
  RulerNumber r = FirstRulerOf(1);
  for (int i = 0; i < 12; ++i) r = NextRuler(r);
  EXPECT_EQ(r, 6);
}

TEST(FillRulerTable, PlanetsFirstThenArchangels) {
  RulerTable table;
  FillRulerTable(table);
  const char* kExpected[] = {"Sun",     "Venus",   "Mercury", "Moon",  "Saturn",
                             "Jupiter", "Mars",    "Michael", "Anael", "Raphael",
                             "Gabriel", "Cassiel", "Sachiel", "Samael"};
  for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i], kExpected[i]) << i;
}

TEST(Rulers, ValuesOutsideOneToSevenNameNoRuler) {
  RulerTable table;
  FillRulerTable(table);
  const std::uint8_t kBad[] = {0, 8, 9, 14, 255};
  for (std::uint8_t v : kBad) {
    EXPECT_EQ(FirstRulerOf(v), 0) << int{v};
    EXPECT_EQ(NextRuler(v), 0) << int{v};
    EXPECT_EQ(PlanetOf(table, v), "") << int{v};
    EXPECT_EQ(ArchangelOf(table, v), "") << int{v};
  }
  EXPECT_EQ(PlanetOf(table, FirstRulerOf(0)), "");
}

}  // namespace
}  // namespace engine

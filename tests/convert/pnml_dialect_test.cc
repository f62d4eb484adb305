// The words of the PNML dialects: net types, arc kinds, weight texts.
#include "convert/pnml_dialect.h"

#include <gtest/gtest.h>

namespace {

using crninv::convert::ArcKind;
using crninv::convert::ArcWeight;
using crninv::convert::classify_arc_kind;
using crninv::convert::classify_net_type;
using crninv::convert::NetType;
using crninv::convert::parse_arc_weight;

TEST(NetType, PlaceTransitionNetsOfEveryDialectAndColouredNets) {
  const struct {
    const char* type;
    NetType expected;
  } cases[] = {
      {"http://www.pnml.org/version-2009/grammar/ptnet", NetType::PLACE_TRANSITION},
      {"http://www.pnml.org/version-2009/grammar/PTNet", NetType::PLACE_TRANSITION},
      {"P/T net", NetType::PLACE_TRANSITION},
      {" p/t NET ", NetType::PLACE_TRANSITION},
      {"http://www.informatik.hu-berlin.de/top/pntd/ptNetb", NetType::PLACE_TRANSITION},
      {"http://www.pnml.org/version-2009/grammar/pnmlcoremodel", NetType::PLACE_TRANSITION},
      {"ptnet", NetType::PLACE_TRANSITION},
      {"http://www.pnml.org/version-2009/grammar/symmetricnet", NetType::COLOURED},
      {"http://www.pnml.org/version-2009/grammar/highlevelnet", NetType::COLOURED},
      {"http://www.pnml.org/version-2009/grammar/pt-hlpng", NetType::COLOURED},
      {"http://www.pnml.org/version-2009/grammar/ptnet/extra", NetType::UNKNOWN},
      {"P/T", NetType::UNKNOWN},
      {"", NetType::UNKNOWN},
  };
  for (const auto& c : cases) EXPECT_EQ(classify_net_type(c.type), c.expected) << c.type;
}

TEST(ArcKind, WhatMovesTokensWhatOnlyLooksAndWhatResets) {
  const struct {
    const char* kind;
    ArcKind expected;
  } cases[] = {
      {"", ArcKind::MOVING},
      {"normal", ArcKind::MOVING},
      {"timed", ArcKind::MOVING},
      {"transport", ArcKind::MOVING},
      {" Normal\n", ArcKind::MOVING},
      {"inhibitor", ArcKind::NON_MOVING},
      {"tapnInhibitor", ArcKind::NON_MOVING},
      {"read", ArcKind::NON_MOVING},
      {"test", ArcKind::NON_MOVING},
      {"reset", ArcKind::RESET},
      {"RESET", ArcKind::RESET},
      {"variable", ArcKind::UNKNOWN},
  };
  for (const auto& c : cases) EXPECT_EQ(classify_arc_kind(c.kind), c.expected) << c.kind;
}

TEST(ArcWeight, PlainAndPipeTexts) {
  const struct {
    const char* text;
    int32_t value;
    bool coloured;
  } cases[] = {
      {"1", 1, false},
      {" 2\n", 2, false},
      {"2147483647", 2147483647, false},
      {"Default,3", 3, false},
      {"Default, 3 ", 3, false},
      // Only one class gives tokens: a plain weight.
      {"Default,0,red,4", 4, false},
      {"Default,1,red,2", 0, true},
      {"0", 0, false},
      {"2147483648", 0, false},
      {"-1", 0, false},
      {"1.5", 0, false},
      {"", 0, false},
      {"Default", 0, false},
      {"Default,", 0, false},
      {"Default,0", 0, false},
      {"Default,1,red", 0, false},
      {"Default,x,red,1", 0, false},
  };
  for (const auto& c : cases) {
    ArcWeight w = parse_arc_weight(c.text);
    EXPECT_EQ(w.value, c.value) << c.text;
    EXPECT_EQ(w.coloured, c.coloured) << c.text;
    EXPECT_EQ(w.error.empty(), c.value != 0) << c.text;
  }
}

}  // namespace

// Every test starts from, and leaves behind, a freshly reset exchange state.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>

#include "exchange/ZizAvodi.h"

class ExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override { ZizAvodi::ResetExchangeState(); }
  void TearDown() override { ZizAvodi::ResetExchangeState(); }

  static void Parse(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) ZizAvodi::ParseExchangeLine(line);
  }
};

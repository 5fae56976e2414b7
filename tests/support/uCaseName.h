// Names parameterised cases after the `name` field of their case record.
#pragma once

#include <gtest/gtest.h>

#include <string>

struct TCaseName {
  template <class P>
  std::string operator()(const testing::TestParamInfo<P>& info) const {
    return info.param.name;
  }
};

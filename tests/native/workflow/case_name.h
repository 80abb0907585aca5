#pragma once

#include <gtest/gtest.h>

#include <string>

// Names a parameterised case after the name field of its parameter.
struct CaseName {
    template <typename Param>
    std::string operator()(const testing::TestParamInfo<Param>& test) const
    {
        return test.param.name;
    }
};

#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

// Compares a recorded sequence with the expected one and names the first step that differs,
// then shows both sequences side by side.
inline testing::AssertionResult SequenceIs(const std::vector<std::string>& actual,
                                           const std::vector<std::string>& expected)
{
    std::size_t step = 0;
    while (step < actual.size() && step < expected.size() && actual[step] == expected[step])
        ++step;
    if (step == actual.size() && step == expected.size())
        return testing::AssertionSuccess();
    std::ostringstream out;
    if (step < expected.size() && step < actual.size())
        out << "step " << step + 1 << ": expected \"" << expected[step] << "\", got \"" << actual[step] << "\"\n";
    else if (step < expected.size())
        out << "step " << step + 1 << ": expected \"" << expected[step] << "\", but the sequence ended\n";
    else
        out << "step " << step + 1 << ": unexpected \"" << actual[step] << "\" after the expected end\n";
    out << "  #  expected | actual\n";
    for (std::size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        out << (i == step ? "> " : "  ") << i + 1 << "  " << (i < expected.size() ? expected[i] : "-") << " | "
            << (i < actual.size() ? actual[i] : "-") << "\n";
    }
    return testing::AssertionFailure() << out.str();
}

// Only the recorded steps that start with one of the prefixes.
inline std::vector<std::string> StepsStartingWith(const std::vector<std::string>& events,
                                                  const std::vector<std::string>& prefixes)
{
    std::vector<std::string> kept;
    for (const std::string& event : events) {
        for (const std::string& prefix : prefixes) {
            if (event.rfind(prefix, 0) == 0) {
                kept.push_back(event);
                break;
            }
        }
    }
    return kept;
}

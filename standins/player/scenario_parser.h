// Turns a scenario text (UTF-8, one step a line) into steps.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scenario_step.h"

struct ScenarioParseResult {
  bool ok = false;
  std::vector<ScenarioStep> steps;
  std::string error;  // "line N: ..." when not ok
};

class CScenarioParser {
public:
  static ScenarioParseResult Parse(std::string_view text);

private:
  struct Token {
    std::string value;
    bool quoted = false;
  };
  static bool Tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error);
  static bool ReadQuoted(std::string_view line, size_t& pos, std::string& out, std::string& error);
  static bool ParseStep(const std::vector<Token>& tokens, size_t first, ScenarioStep& step,
                        std::string& error);
  static bool ParseGenerator(const std::vector<Token>& tokens, size_t first, ScenarioStep& step,
                             std::string& error);
};

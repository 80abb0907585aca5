// Encodes UTF-8 scenario text the way a tool would write it.
#pragma once

#include <string>

#include "scenario_step.h"

class CTextEncoder {
public:
  // Characters the target cannot hold become "?", as a console program's would.
  static std::string Encode(const std::string& utf8, TextEncoding encoding);
  static std::wstring Widen(const std::string& utf8);
  static std::string Narrow(const std::wstring& wide);  // to UTF-8
};

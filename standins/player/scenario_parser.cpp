#include "scenario_parser.h"

#include <charconv>
#include <cstdlib>

namespace {

bool ParseInteger(const std::string& text, long long& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

bool ParseUnsigned(const std::string& text, std::uint64_t& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

bool ParseReal(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size();
}

bool ParseEncoding(const std::string& name, TextEncoding& encoding) {
  if (name == "gbk" || name == "cp936" || name == "936") encoding = TextEncoding::Gbk;
  else if (name == "utf16le" || name == "utf-16le") encoding = TextEncoding::Utf16Le;
  else if (name == "ascii") encoding = TextEncoding::Ascii;
  else if (name == "utf8" || name == "utf-8") encoding = TextEncoding::Utf8;
  else return false;
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

ScenarioParseResult CScenarioParser::Parse(std::string_view text) {
  ScenarioParseResult result;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int lineNumber = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    std::vector<Token> tokens;
    std::string error;
    ScenarioStep step;
    step.line = lineNumber;
    bool ok = Tokenize(line, tokens, error);
    if (ok && tokens.empty()) continue;
    if (ok) ok = ParseStep(tokens, 0, step, error);
    if (!ok) {
      result.error = "line " + std::to_string(lineNumber) + ": " + error;
      result.steps.clear();
      return result;
    }
    result.steps.push_back(std::move(step));
  }
  result.ok = true;
  return result;
}

bool CScenarioParser::Tokenize(std::string_view line, std::vector<Token>& tokens,
                               std::string& error) {
  size_t pos = 0;
  while (pos < line.size()) {
    char c = line[pos];
    if (c == ' ' || c == '\t') {
      ++pos;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      Token token;
      token.quoted = true;
      if (!ReadQuoted(line, pos, token.value, error)) return false;
      tokens.push_back(std::move(token));
    } else {
      size_t start = pos;
      while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') ++pos;
      tokens.push_back(Token{std::string(line.substr(start, pos - start)), false});
    }
  }
  return true;
}

bool CScenarioParser::ReadQuoted(std::string_view line, size_t& pos, std::string& out,
                                 std::string& error) {
  ++pos;  // opening quote
  while (pos < line.size()) {
    char c = line[pos++];
    if (c == '"') return true;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (pos >= line.size()) break;
    char e = line[pos++];
    switch (e) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case '0': out += '\0'; break;
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      case 'u': {
        unsigned code = 0;
        for (int i = 0; i < 4; ++i) {
          int digit = pos < line.size() ? HexDigit(line[pos]) : -1;
          if (digit < 0) {
            error = "\\u needs four hex digits";
            return false;
          }
          code = code * 16 + static_cast<unsigned>(digit);
          ++pos;
        }
        AppendUtf8(out, code);
        break;
      }
      default:
        error = std::string("unknown escape \\") + e;
        return false;
    }
  }
  error = "text without closing quote";
  return false;
}

bool CScenarioParser::ParseStep(const std::vector<Token>& tokens, size_t first,
                                ScenarioStep& step, std::string& error) {
  const std::string& name = tokens[first].value;
  size_t argc = tokens.size() - first - 1;
  auto arg = [&](size_t i) -> const std::string& { return tokens[first + 1 + i].value; };
  auto needArgs = [&](size_t least, size_t most) {
    if (argc >= least && argc <= most) return true;
    error = "'" + name + "' takes " + std::to_string(least) +
            (most == least ? "" : " to " + std::to_string(most)) + " arguments";
    return false;
  };
  auto integerArg = [&](size_t i, long long& value) {
    if (ParseInteger(arg(i), value)) return true;
    error = "'" + arg(i) + "' is not a whole number";
    return false;
  };

  if (name == "if-arg" || name == "unless-arg") {
    if (argc < 2) {
      error = "'" + name + "' needs a word and a step";
      return false;
    }
    step.ifArg = arg(0);
    step.unlessArg = name == "unless-arg";
    return ParseStep(tokens, first + 2, step, error);
  }
  if (name == "write") {
    step.kind = StepKind::Write;
    if (!needArgs(1, 3)) return false;
    step.text = arg(0);
    if (argc >= 2 && !ParseUnsigned(arg(1), step.offset)) {
      error = "bad offset '" + arg(1) + "'";
      return false;
    }
    if (argc >= 3 && !ParseUnsigned(arg(2), step.length)) {
      error = "bad length '" + arg(2) + "'";
      return false;
    }
    return true;
  }
  if (name == "text") {
    step.kind = StepKind::Text;
    if (!needArgs(1, 2)) return false;
    if (!tokens[first + 1].quoted) {
      error = "text must be in double quotes";
      return false;
    }
    step.text = arg(0);
    if (argc == 2 && !ParseEncoding(arg(1), step.encoding)) {
      error = "unknown encoding '" + arg(1) + "'";
      return false;
    }
    return true;
  }
  if (name == "echo-args") {
    step.kind = StepKind::EchoArgs;
    if (!needArgs(0, 1)) return false;
    if (argc == 1 && !ParseEncoding(arg(0), step.encoding)) {
      error = "unknown encoding '" + arg(0) + "'";
      return false;
    }
    return true;
  }
  if (name == "bytes") {
    step.kind = StepKind::Bytes;
    if (argc == 0) {
      error = "'bytes' needs hex bytes";
      return false;
    }
    for (size_t i = 0; i < argc; ++i) {
      const std::string& hex = arg(i);
      if (hex.size() % 2 != 0) {
        error = "odd number of hex digits in '" + hex + "'";
        return false;
      }
      for (size_t k = 0; k < hex.size(); k += 2) {
        int high = HexDigit(hex[k]), low = HexDigit(hex[k + 1]);
        if (high < 0 || low < 0) {
          error = "'" + hex + "' is not hex";
          return false;
        }
        step.text += static_cast<char>(high * 16 + low);
      }
    }
    return true;
  }
  if (name == "pieces" || name == "pause" || name == "idle" || name == "exit") {
    step.kind = name == "pieces" ? StepKind::Pieces
              : name == "exit"   ? StepKind::Exit
                                 : StepKind::Pause;
    if (!needArgs(1, 1) || !integerArg(0, step.number)) return false;
    if (step.kind != StepKind::Exit && step.number < 0) {
      error = "'" + name + "' needs a number of 0 or more";
      return false;
    }
    return true;
  }
  if (name == "flush") {
    step.kind = StepKind::Flush;
    if (!needArgs(1, 1)) return false;
    if (arg(0) != "on" && arg(0) != "off") {
      error = "'flush' takes on or off";
      return false;
    }
    step.number = arg(0) == "on";
    return true;
  }
  if (name == "busy") {
    step.kind = StepKind::Busy;
    long long share = 0;
    if (!needArgs(2, 2) || !integerArg(0, share) || !integerArg(1, step.number)) return false;
    if (share < 1 || share > 100 || step.number < 0) {
      error = "'busy' takes a share of 1 to 100 and a time of 0 ms or more";
      return false;
    }
    step.share = static_cast<int>(share);
    return true;
  }
  if (name == "note-time") {
    step.kind = StepKind::NoteTime;
    return needArgs(0, 0);
  }
  if (name == "hang" || name == "silent") {
    step.kind = name == "hang" ? StepKind::Hang : StepKind::Silent;
    return needArgs(0, 0);
  }
  if (name == "wait-arg") {
    step.kind = StepKind::WaitArg;
    if (!needArgs(1, 1)) return false;
    step.text = arg(0);
    return true;
  }
  if (name == "dism-bar") {
    step.kind = StepKind::DismBar;
    if (!needArgs(1, 1)) return false;
    if (!ParseReal(arg(0), step.from) || step.from < 0 || step.from > 100) {
      error = "'dism-bar' takes a percentage from 0 to 100";
      return false;
    }
    return true;
  }
  if (name == "dism-progress" || name == "sfc-progress") {
    step.kind = name == "dism-progress" ? StepKind::DismProgress : StepKind::SfcProgress;
    return ParseGenerator(tokens, first, step, error);
  }
  error = "unknown step '" + name + "'";
  return false;
}

bool CScenarioParser::ParseGenerator(const std::vector<Token>& tokens, size_t first,
                                     ScenarioStep& step, std::string& error) {
  const std::string& name = tokens[first].value;
  bool dism = step.kind == StepKind::DismProgress;
  size_t i = first + 1;
  if (tokens.size() < i + 2 || !ParseReal(tokens[i].value, step.from) ||
      !ParseReal(tokens[i + 1].value, step.to)) {
    error = "'" + name + "' needs a first and a last percentage";
    return false;
  }
  if (step.from < 0 || step.to > 100 || step.from > step.to) {
    error = "'" + name + "' needs 0 <= first <= last <= 100";
    return false;
  }
  step.step = dism ? 10.0 : 1.0;
  for (i += 2; i < tokens.size(); ++i) {
    const std::string& option = tokens[i].value;
    bool hasValue = i + 1 < tokens.size();
    if (option == "step" && hasValue) {
      if (!ParseReal(tokens[++i].value, step.step) || step.step <= 0) {
        error = "'step' needs a positive number";
        return false;
      }
    } else if (option == "pause" && hasValue) {
      long long ms = 0;
      if (!ParseInteger(tokens[++i].value, ms) || ms < 0) {
        error = "'pause' needs a number of milliseconds";
        return false;
      }
      step.pauseMs = static_cast<int>(ms);
    } else if (option == "cr" && dism) {
      step.style = RecordStyle::CarriageReturn;
    } else if (option == "once" && !dism) {
      step.twice = false;
    } else {
      error = "unknown option '" + option + "' of '" + name + "'";
      return false;
    }
  }
  return true;
}

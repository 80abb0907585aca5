// One step of a stand-in tool's scenario, as parsed from its text.
#pragma once

#include <cstdint>
#include <string>

enum class StepKind {
  Write,          // fixture bytes, whole or a range
  Text,           // literal text in an encoding
  Bytes,          // raw bytes given in hex
  Pieces,         // size of the pieces later writes are cut into (0: whole)
  Flush,          // whether each piece waits until the reader has taken it
  Pause,          // sleep; also "idle"
  Busy,           // keep a share of one processor busy for a time
  Hang,           // sleep until killed, keeping the output open
  Exit,           // end now with an exit code
  Silent,         // nothing
  WaitArg,        // sleep the seconds that follow a switch of the own command line
  EchoArgs,       // write the own arguments
  DismProgress,   // DISM progress bar records
  DismBar,        // one DISM bar, no separator
  SfcProgress,    // sfc percent records
  NoteTime,       // the moment, for latency measurements
};

enum class TextEncoding { Gbk, Utf16Le, Ascii, Utf8 };

enum class RecordStyle { Lines, CarriageReturn };

struct ScenarioStep {
  StepKind kind = StepKind::Silent;
  int line = 0;                    // line in the scenario text, for messages
  std::string text;                // fixture name, UTF-8 literal, raw bytes, or switch
  TextEncoding encoding = TextEncoding::Gbk;
  std::uint64_t offset = 0;        // Write: first byte
  std::uint64_t length = UINT64_MAX;  // Write: byte count (UINT64_MAX: to the end)
  long long number = 0;            // ms, piece size, exit code, flag
  int share = 100;                 // Busy: percent of one processor
  double from = 0, to = 0, step = 0;  // progress generators
  int pauseMs = 0;                 // progress generators: after each record
  bool twice = true;               // SfcProgress: each percent written twice
  RecordStyle style = RecordStyle::Lines;
  std::string ifArg;               // run only when the own arguments contain it...
  bool unlessArg = false;          // ...or only when they do not
};

#include "scenario_player.h"

#include <windows.h>

#include <algorithm>

#include "progress_records.h"
#include "text_encoder.h"
#include "standin_handle.h"

namespace {

long long NowMicroseconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart / frequency.QuadPart * 1000000 +
         now.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

void SleepMs(long long milliseconds) {
  while (milliseconds > 0) {
    DWORD chunk = static_cast<DWORD>(std::min<long long>(milliseconds, 0x7FFFFFFF));
    Sleep(chunk);
    milliseconds -= chunk;
  }
}

}  // namespace

CScenarioPlayer::CScenarioPlayer(const CToolContext& context, CStdOutput& output)
    : m_Context(context), m_Output(output) {}

bool CScenarioPlayer::Applies(const ScenarioStep& step) const {
  if (step.ifArg.empty()) return true;
  return m_Context.ArgumentsContain(step.ifArg) != step.unlessArg;
}

int CScenarioPlayer::Play(const std::vector<ScenarioStep>& steps) {
  for (const ScenarioStep& step : steps) {
    if (!Applies(step)) continue;
    switch (step.kind) {
      case StepKind::Write:
        if (!WriteFixture(step)) return kScenarioError;
        break;
      case StepKind::Text:
        m_Output.Write(CTextEncoder::Encode(step.text, step.encoding));
        break;
      case StepKind::Bytes:
        m_Output.Write(step.text);
        break;
      case StepKind::EchoArgs:
        m_Output.Write(
            CTextEncoder::Encode(CTextEncoder::Narrow(m_Context.Arguments()), step.encoding));
        break;
      case StepKind::Pieces:
        m_Output.SetPieceSize(static_cast<size_t>(step.number));
        break;
      case StepKind::Flush:
        m_Output.SetFlush(step.number != 0);
        break;
      case StepKind::Pause:
        SleepMs(step.number);
        break;
      case StepKind::Busy:
        Busy(step.share, step.number);
        break;
      case StepKind::Hang:
        Hang();
        break;
      case StepKind::Exit:
        return static_cast<int>(step.number);
      case StepKind::Silent:
        break;
      case StepKind::NoteTime:
        m_Context.RecordTime();
        break;
      case StepKind::WaitArg:
        if (auto seconds = m_Context.NumberAfterSwitch(step.text); seconds && *seconds > 0)
          SleepMs(*seconds * 1000);
        break;
      case StepKind::DismBar:
        m_Output.Write(CProgressRecords::DismBar(step.from));
        break;
      case StepKind::DismProgress:
      case StepKind::SfcProgress:
        PlayGenerator(step);
        break;
    }
  }
  return 0;
}

bool CScenarioPlayer::WriteFixture(const ScenarioStep& step) {
  std::wstring path = m_Context.FindFixture(step.text);
  CStandinHandle file;
  if (!path.empty())
    file.Reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size)) {
    m_strError = "line " + std::to_string(step.line) + ": no fixture '" + step.text + "'";
    return false;
  }
  std::uint64_t total = static_cast<std::uint64_t>(size.QuadPart);
  std::uint64_t offset = std::min(step.offset, total);
  std::uint64_t count = std::min(step.length, total - offset);
  std::string bytes(static_cast<size_t>(count), '\0');
  LARGE_INTEGER start;
  start.QuadPart = static_cast<LONGLONG>(offset);
  DWORD read = 0;
  if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN) ||
      (count > 0 && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(count), &read, nullptr) ||
                     read != count))) {
    m_strError = "line " + std::to_string(step.line) + ": cannot read '" + step.text + "'";
    return false;
  }
  m_Output.Write(bytes);
  return true;
}

void CScenarioPlayer::PlayGenerator(const ScenarioStep& step) {
  bool dism = step.kind == StepKind::DismProgress;
  for (long long tenths : CProgressRecords::TenthsFromTo(step.from, step.to, step.step)) {
    if (dism) {
      m_Output.Write(CProgressRecords::DismRecord(tenths / 10.0, step.style));
    } else {
      std::string record = CProgressRecords::SfcRecord(static_cast<int>(tenths / 10));
      m_Output.Write(step.twice ? record + record : record);
    }
    SleepMs(step.pauseMs);
  }
}

void CScenarioPlayer::Busy(int share, long long milliseconds) {
  // Work and rest alternate in slices of 100 ms, so the share holds over any window of
  // about a second, which is what a sampler measures.
  constexpr long long kSliceUs = 100000;
  long long end = NowMicroseconds() + milliseconds * 1000;
  volatile unsigned long long sink = 0;
  while (NowMicroseconds() < end) {
    long long sliceStart = NowMicroseconds();
    long long workEnd = std::min(end, sliceStart + kSliceUs * share / 100);
    while (NowMicroseconds() < workEnd) sink = sink + 1;
    long long rest = std::min(end - NowMicroseconds(), kSliceUs - (NowMicroseconds() - sliceStart));
    if (share < 100 && rest > 0) Sleep(static_cast<DWORD>(rest / 1000));
  }
}

void CScenarioPlayer::Hang() {
  for (;;) Sleep(INFINITE);
}

// The six calls of the feedback service. There is no server to talk to here: the service
// answers "ready" and "no newer version", accepts reports at once and opens the maker's
// pages. Every call is recorded in the journal for tests (see README.md).
#include "zorvex_feedback.h"

#include "feedback_journal.h"
#include "feedback_settings.h"
#include "maker_pages.h"
#include "page_opener.h"
#include "remembered_tool.h"

namespace {

CRememberedTool g_rememberedTool;

}  // namespace

extern "C" {

int __stdcall InitFreedbackDll(void) {
  CFeedbackJournal::Append(CJournalLine("InitFreedbackDll"));
  return CFeedbackSettings::InitAnswer();
}

int __stdcall GetToolIsNewVersion(const wchar_t* toolId, const wchar_t* toolVersion) {
  CFeedbackJournal::Append(CJournalLine("GetToolIsNewVersion").Add(toolId).Add(toolVersion));
  g_rememberedTool.Remember(toolId);
  return CFeedbackSettings::VersionAnswer();
}

int __stdcall OpenToolDownUrl(void) {
  CFeedbackJournal::Append(CJournalLine("OpenToolDownUrl"));
  return CPageOpener::Open(CMakerPages::DownloadPage(g_rememberedTool.Get()));
}

int __stdcall FeedbackQuestion(const wchar_t* toolId, const wchar_t* toolVersion) {
  CFeedbackJournal::Append(CJournalLine("FeedbackQuestion").Add(toolId).Add(toolVersion));
  return CPageOpener::Open(CMakerPages::FeedbackPage(toolId, toolVersion));
}

int __stdcall CustomerFeedbackEx(const wchar_t* toolId, const wchar_t* toolVersion, int code,
                                 const wchar_t* timeText) {
  CFeedbackJournal::Append(CJournalLine("CustomerFeedbackEx").Add(toolId).Add(toolVersion).Add(code).Add(timeText));
  // Nowhere to send it on this machine: the report is accepted as it stands. A report
  // missing its tool or time cannot be filed and is refused.
  return toolId != nullptr && toolVersion != nullptr && timeText != nullptr ? 1 : 0;
}

int __stdcall ReleaseFreedbackRes(void) {
  CFeedbackJournal::Append(CJournalLine("ReleaseFreedbackRes"));
  g_rememberedTool.Forget();
  return 1;
}

}  // extern "C"

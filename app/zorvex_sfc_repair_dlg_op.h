#pragma once
// The operations window: the opaque dialog over the main window's frame with the start,
// more-tools, minimise and close buttons, the version label and the feedback link. It owns
// one repair run and gives it the real engine library, real time and its own windows.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/engine_library.h"
#include "app/feedback_service.h"
#include "app/interruptible_time.h"
#include "common/event_thread.h"
#include "popups/layered_inner_dlg.h"
#include "skin/draw_text_static.h"
#include "skin/gdi_png_button.h"
#include "workflow/repair_run.h"
#include "workflow/repair_ui.h"

class CExecutePromptDlg;
class CPromptDlg;

class CZorvexSfcRepairDlgOP : public CLayeredInnerDlg, private IRepairUi {
 public:
  CZorvexSfcRepairDlgOP();
  ~CZorvexSfcRepairDlgOP() override;

  // Once, after the main window has moved and shown this window.
  void LayoutControls() override;

  CRepairRun& Run() { return m_Run; }
  RECT ClientLayoutRect() const { return m_rcClient; }
  // The main window is closing: a progress popup still up must give way.
  void EndRunProgressForClose() { EndProgressPopup(); }

  CGDIPngButton m_btnClose;
  CGDIPngButton m_btnMin;
  CGDIPngButton m_btnLocal;
  CDrawTextStatic m_stcVersion;
  CDrawTextStatic m_stcFeedback;
  CGDIPngButton m_btnMoreTools;

 protected:
  void DoDataExchange() override;
  BOOL OnInitDialog() override;
  void DrawBackground(HDC hdc, const RECT& client) override;
  void OnLButtonDown(UINT flags, POINT point) override;
  bool OnCommand(UINT id, UINT code, HWND hCtl) override;
  void OnDestroy() override;
  // Enter and Escape would hide a modeless dialog: the window stays as it is.
  void OnOK() override {}
  void OnCancel() override {}

 private:
  void OnBnClickedClose() { m_Run.OnBnClickedClose(); }
  void OnBnClickedMin();
  void OnBnClickedLocal() { m_Run.OnBnClickedLocal(); }
  void OnBnClickedMoreTools() { m_Run.OnBnClickedMoreTools(); }
  int MeasureLabelWidth(const wchar_t* text) const;
  void PlaceLabel(CDrawTextStatic& label, const RECT& place, COLORREF normal, COLORREF highlight);

  // What the run asks of the window; see IRepairUi for the threads.
  void StartMonitorThread() override;
  void EnableStartButton(bool enable) override;
  void ShowPrompt(const std::wstring& text, float scale) override;
  void DismissPrompts() override;
  void RunProgressPopup() override;
  void EndProgressPopup() override;
  void OpenWebPage(const std::wstring& address) override;
  void RunProblemSolvedWindow() override;
  void CloseMainWindow() override;
  void ExitProcess(int exitCode) override;
  void ServeWorkerCalls() override;

  RECT m_rcClient{};

  CEngineLibrary m_Engine;
  CInterruptibleTime m_Time;
  CFeedbackService m_Feedback;
  CRepairRun m_Run;
  // Declared after the run: it is destroyed (and so stopped) before the run it calls.
  CEventThread m_MonitorThread;

  // Read by the worker threads; written on the UI thread once the controls exist.
  std::atomic<HWND> m_hStartButton{nullptr};

  std::mutex m_PromptLock;
  std::vector<CPromptDlg*> m_OpenPrompts;
  bool m_bPromptsDismissed = false;

  std::mutex m_PopupLock;
  // Shared with a worker that is ending it, so a new run cannot free it under that worker.
  std::shared_ptr<CExecutePromptDlg> m_pProgressPopup;
};

#include "workflow/repair_run.h"

#include <utility>

#include "common/maker_site.h"
#include "workflow/output_text.h"
#include "workflow/tool_identity.h"

namespace {

// Byte counts include the terminating zero, which the engine sends with the line.
constexpr char kLocalRepairLine[] = "sfc /scannow";
constexpr int kLocalRepairLineBytes = 13;
constexpr char kOnlineRepairLine[] = "DISM /Online /Cleanup-image /RestoreHealth";
constexpr int kOnlineRepairLineBytes = 43;
static_assert(sizeof(kLocalRepairLine) == kLocalRepairLineBytes);
static_assert(sizeof(kOnlineRepairLine) == kOnlineRepairLineBytes);
constexpr char kProbeLine[] = "ping www.baidu.com";

// Output keywords, as the commands write them (DISM in code page 936).
constexpr std::string_view kProbeReplyMark = "TTL";
constexpr std::string_view kImageHeader = "\xD3\xB3\xCF\xF1\xB0\xE6\xB1\xBE"; // 映像版本
constexpr std::string_view kErrorMark = "\xB4\xED\xCE\xF3";                    // 错误
constexpr std::string_view kOnlineDoneFigure = "100.0";

constexpr int kLongLocalChunk = 3000;
constexpr int kEarlyLocalPercent = 2;
constexpr int kProcessCheckPercent = 5;
constexpr int kHeaderCheckPercent = 5;
constexpr int kTicksPerLocalStep = 6;
constexpr int kLocalEstimateCeiling = 99;
constexpr int kOnlineSilenceTicks = 60;

constexpr int kTickPauseMs = 1000;
constexpr int kProbeWindowMs = 2000;
constexpr int kCpuSamplePauseMs = 5000;
constexpr int kBeforeOnlineRepairMs = 10000;
constexpr float kIdleCpuPercent = 0.000001f;
constexpr int kIdleSamplesBeyond = 5;

constexpr std::string_view kWindows7Name = "Microsoft Windows 7";
constexpr wchar_t kWindows7ServicingProcess[] = L"TrustedInstaller.exe";
constexpr wchar_t kServicingProcess[] = L"TiWorker.exe";

constexpr wchar_t kLocalRepairStatus[] = L"正在进行本地修复,请稍等";
constexpr wchar_t kOnlineRepairStatus[] = L"正在进行联网修复,请稍等";

constexpr wchar_t kInitFailedPrompt[] = L"工具初始化失败";
constexpr wchar_t kNewVersionPrompt[] = L"检测到当前工具有新的版本更新，请下载最新版本使用。";
constexpr wchar_t kLocalFailedPrompt[] =
    L"启动本地修复失败!  如果修复失败或修复后仍有问题，建议您备份数据后重装系统";
constexpr wchar_t kOnlineFailedPrompt[] =
    L"启动联网修复失败! 如果修复失败或修复后仍有问题，建议您备份数据后重装系统";
constexpr wchar_t kNetworkRequiredPrompt[] = L"请连接网络，否则无法完成联网修复。现仅完成本地修复！";
constexpr wchar_t kSucceededPrompt[] =
    L"系统修复成功，本工具调用微软内置命令进行本地和网络修复系统文件，但修复不能解决所有问题，请了解";

constexpr int kNewerVersionExists = 3;
constexpr float kDefaultPromptScale = 1.0f;

} // namespace

CRepairRun::CRepairRun(IRepairEngine& engine, IRepairUi& ui, IRepairTime& time, IRepairFeedback& feedback,
                       CRepairStatus& status)
    : m_Engine(engine), m_Ui(ui), m_Time(time), m_Feedback(feedback), m_Status(status)
{
}

bool CRepairRun::Initialise()
{
    m_Ui.EnableStartButton(false);
    m_Ui.StartMonitorThread();
    EngineHandle engine;
    {
        std::unique_lock lock(m_EngineLock);
        engine = m_Engine.Open();
        m_hEngine.store(engine);
    }
    if (engine != nullptr) {
        {
            std::shared_lock lock(m_EngineLock);
            m_Engine.DataCallBack_Log(engine, &OnEngineOutput, this);
        }
        m_nMode.store(Probe);
        SendNetworkProbe();
    }
    if (m_Feedback.InitFreedbackDll() == 0) {
        // Shown before the scale is known to matter: the prompt keeps its own default.
        m_Ui.ShowPrompt(kInitFailedPrompt, kDefaultPromptScale);
        m_Ui.ExitProcess(0);
        return true;
    }
    if (m_Feedback.GetToolIsNewVersion(kToolId, kToolVersion) == kNewerVersionExists) {
        m_Ui.ShowPrompt(kNewVersionPrompt, m_fScale.load());
        m_Feedback.OpenToolDownUrl();
        m_Ui.ExitProcess(0);
        return true;
    }
    return true;
}

void CRepairRun::OnBnClickedLocal()
{
    m_Ui.EnableStartButton(false);
    // Leftovers of an earlier run go before the new command starts.
    ClearRepairProcesses();

    m_nMode.store(LocalRepair);
    m_bImageHeaderSeen.store(false);
    m_bRepairProcessSeen.store(false);
    m_bLocalPhaseActive.store(true);
    m_nTickCount.store(0);
    {
        std::lock_guard lock(m_LocalProgressLock);
        m_nLocalPercent.store(0);
    }
    m_Status.SetStatusText(kLocalRepairStatus);
    m_Status.SetProgressPercent(0);
    m_Status.SetPercentText(0);

    // Redirection belongs to the calling thread: it is switched off here, right before the
    // command, so that the native sfc runs. Without it sfc is not sent and the monitor reports
    // the local failure.
    bool redirectionOff = false;
    {
        std::shared_lock lock(m_EngineLock);
        if (EngineHandle engine = m_hEngine.load())
            redirectionOff = m_Engine.Wow64DisableWow64Fs(engine);
    }
    if (redirectionOff)
        SendLine(kLocalRepairLine, kLocalRepairLineBytes);

    m_Ui.RunProgressPopup();
}

void CRepairRun::OnBnClickedClose()
{
    if (m_bShowFeedbackOnClose.load())
        m_Ui.RunProblemSolvedWindow();
    m_Ui.CloseMainWindow();
}

void CRepairRun::OnFeedbackLinkClicked()
{
    m_Feedback.FeedbackQuestion(kToolId, kToolVersion);
}

void CRepairRun::OpenKnowledgeBasePage()
{
    m_Ui.OpenWebPage(zsr::maker_site::kKnowledgeBaseArticle);
}

void CRepairRun::Shutdown()
{
    if (m_bShutDown.exchange(true))
        return;
    // No new chunk may start an outcome while the threads inside are let out.
    {
        std::shared_lock lock(m_EngineLock);
        if (EngineHandle engine = m_hEngine.load())
            m_Engine.DataCallBack_Log(engine, nullptr, nullptr);
    }
    m_Gate.Close();
    m_Time.Interrupt();
    // A worker may open a prompt just before it sees the gate closed: dismiss again while waiting.
    m_Ui.DismissPrompts();
    m_Gate.WaitUntilEmpty([this] {
        m_Ui.DismissPrompts();
        m_Ui.ServeWorkerCalls();
    });
    {
        std::unique_lock lock(m_EngineLock);
        if (EngineHandle engine = m_hEngine.exchange(nullptr)) {
            m_Engine.CmdClear(engine);
            m_Engine.Wow64RevertWow64Fs(engine);
            m_Engine.Close(engine);
        }
    }
    m_Feedback.ReleaseFreedbackRes();
}

bool CRepairRun::InterpretOutput(const char* bytes, int count)
{
    CCallGate::CPass pass(m_Gate);
    if (!pass || count <= 0 || bytes == nullptr)
        return true;
    switch (m_nMode.load()) {
    case OnlineRepair:
        InterpretOnlineOutput(COutputText::TextOf(bytes, count));
        break;
    case LocalRepair:
        InterpretLocalOutput(count);
        break;
    case Probe:
        InterpretProbeOutput(COutputText::TextOf(bytes, count));
        break;
    default:
        // The trailing output of a command whose run has ended must not start a second outcome.
        break;
    }
    return true;
}

void CRepairRun::InterpretOnlineOutput(std::string_view text)
{
    m_bAwaitingOnlineOutput.store(false);
    // In this order: a chunk with both header and figure sets the flag before the figure counts.
    CheckImageHeader(text);
    ParseOnlineProgress(text);
    if (CheckOnlineError(text) && ClaimRunEnd(OnlineRepair))
        OnOnlineRepairFailed();
}

void CRepairRun::InterpretLocalOutput(int count)
{
    // sfc writes its whole report at the end; a short answer early on means it did not start.
    if (count > kLongLocalChunk) {
        OnLocalOutputComplete();
        return;
    }
    if (m_Status.ProgressPercent() < kEarlyLocalPercent && ClaimRunEnd(LocalRepair))
        OnLocalRepairFailed();
}

void CRepairRun::InterpretProbeOutput(std::string_view text)
{
    if (COutputText::Contains(text, kProbeReplyMark))
        m_bNetworkReachable.store(true);
    // Any answer shows that the engine runs commands, reachable or not.
    m_Ui.EnableStartButton(true);
}

void CRepairRun::CheckImageHeader(std::string_view text)
{
    if (COutputText::Contains(text, kImageHeader))
        m_bImageHeaderSeen.store(true);
}

void CRepairRun::ParseOnlineProgress(std::string_view text)
{
    std::optional<std::string> figure = COutputText::ProgressFigure(text);
    if (!figure)
        return;
    const int percent = COutputText::PercentOf(*figure);
    SetOnlinePercent(std::move(*figure));
    m_Status.SetStatusText(kOnlineRepairStatus);
    m_Status.SetProgressPercent(percent);
    m_Status.SetPercentText(percent);
}

bool CRepairRun::CheckOnlineError(std::string_view text)
{
    return COutputText::Contains(text, kErrorMark);
}

void CRepairRun::OnLocalOutputComplete()
{
    std::lock_guard lock(m_LocalProgressLock);
    m_nLocalPercent.store(100);
    m_Status.SetStatusText(kLocalRepairStatus);
    m_Status.SetPercentText(100);
    m_Status.SetProgressPercent(100);
}

bool CRepairRun::OnMonitorTick()
{
    CCallGate::CPass pass(m_Gate);
    if (!pass)
        return false;
    if (!CheckPhase())
        AdvanceProgress();
    return m_Time.Sleep(kTickPauseMs);
}

bool CRepairRun::CheckPhase()
{
    switch (m_nMode.load()) {
    case OnlineRepair:
        if (m_Status.ProgressPercent() > kHeaderCheckPercent && !m_bImageHeaderSeen.load()) {
            // DISM in another language, or not the output it should be.
            if (ClaimRunEnd(OnlineRepair)) {
                OnOnlineRepairFailed();
                return true;
            }
        }
        return CheckOnlineSuccess();
    case LocalRepair:
        // A local phase whose output is complete has ended well, even if sfc was too quick
        // for the monitor ever to see it running.
        if (m_Status.ProgressPercent() > kProcessCheckPercent && m_nLocalPercent.load() != 100) {
            if (!m_bRepairProcessSeen.load())
                RefreshProcessState();
            if (!m_bRepairProcessSeen.load() && ClaimRunEnd(LocalRepair)) {
                OnLocalRepairFailed();
                return true;
            }
        }
        if (m_bLocalPhaseActive.load() && m_nLocalPercent.load() == 100)
            return RunOnlineTransition();
        return false;
    default:
        return false;
    }
}

bool CRepairRun::CheckOnlineSuccess()
{
    // DISM may draw 100.0 and print its error only afterwards: success needs DISM ended and
    // a further tick in which the rest of its output was read without the error marker (an
    // error there ends the phase first, and the claim below then fails).
    if (OnlinePercent() != kOnlineDoneFigure || !m_bOnlinePhaseActive.load()) {
        m_bOnlineEndPending.store(false);
        return false;
    }
    if (IsRepairProcessRunning()) {
        m_bOnlineEndPending.store(false);
        return false;
    }
    if (!m_bOnlineEndPending.exchange(true))
        return false;
    if (!ClaimRunEnd(OnlineRepair))
        return false;
    OnRepairSucceeded();
    return true;
}

bool CRepairRun::RunOnlineTransition()
{
    m_bLocalPhaseActive.store(false);
    std::string systemName;
    {
        std::shared_lock lock(m_EngineLock);
        if (EngineHandle engine = m_hEngine.load())
            m_Engine.GetSystemName(engine, systemName);
    }
    const bool windows7 = systemName == kWindows7Name;
    // Windows 7 gets no online repair worth waiting for: success is told now, the online
    // phase still follows.
    if (windows7)
        OnRepairSucceeded();
    if (Stopping())
        return true;

    m_bNetworkReachable.store(false);
    m_nMode.store(Probe);
    SendNetworkProbe();
    if (!m_Time.Sleep(kProbeWindowMs))
        return true;
    m_nMode.store(LocalRepair);
    if (!m_bNetworkReachable.load()) {
        OnNetworkRequired();
        return true;
    }

    // DISM fails while the servicing process is still busy with what sfc left it.
    if (!WaitForServicingIdle(windows7 ? kWindows7ServicingProcess : kServicingProcess))
        return true;
    ClearRepairProcesses();
    if (!m_Time.Sleep(kBeforeOnlineRepairMs))
        return true;
    StartOnlineRepair();
    return false;
}

bool CRepairRun::WaitForServicingIdle(const std::wstring& processName)
{
    int idleSamples = 0;
    for (;;) {
        float usage = -1.0f;
        {
            std::shared_lock lock(m_EngineLock);
            if (EngineHandle engine = m_hEngine.load())
                usage = m_Engine.GetProcessCpuInfo(engine, processName);
        }
        if (Stopping())
            return false;
        // A busy sample does not reset the count; a missing process (negative) counts as idle.
        if (usage <= kIdleCpuPercent && ++idleSamples > kIdleSamplesBeyond)
            return true;
        if (!m_Time.Sleep(kCpuSamplePauseMs))
            return false;
    }
}

void CRepairRun::AdvanceProgress()
{
    switch (m_nMode.load()) {
    case LocalRepair:
        if (m_nTickCount.load() > kTicksPerLocalStep) {
            m_nTickCount.store(0);
            StepLocalEstimate();
        }
        m_nTickCount.fetch_add(1);
        break;
    case OnlineRepair:
        if (!m_bAwaitingOnlineOutput.load())
            break;
        if (m_nTickCount.load() > kOnlineSilenceTicks && ClaimRunEnd(OnlineRepair)) {
            OnOnlineRepairFailed();
            return;
        }
        m_nTickCount.fetch_add(1);
        break;
    default:
        break;
    }
}

void CRepairRun::StepLocalEstimate()
{
    // Under the lock, so that the long chunk's 100 is never overwritten by a late step.
    std::lock_guard lock(m_LocalProgressLock);
    const int percent = m_nLocalPercent.load();
    if (percent >= kLocalEstimateCeiling)
        return;
    m_nLocalPercent.store(percent + 1);
    m_Status.SetProgressPercent(percent + 1);
    m_Status.SetPercentText(percent + 1);
    m_Status.SetStatusText(kLocalRepairStatus);
}

bool CRepairRun::StartOnlineRepair()
{
    m_Status.SetStatusText(kOnlineRepairStatus);
    m_Status.SetProgressPercent(0);
    m_nTickCount.store(0);
    m_bAwaitingOnlineOutput.store(true);
    // A second run must not end on the figure the previous one left.
    SetOnlinePercent(std::string());
    m_bOnlineEndPending.store(false);
    m_Status.SetPercentText(0);
    m_bOnlinePhaseActive.store(true);
    m_nMode.store(OnlineRepair);
    // Sent from the monitor thread, whose redirection was never switched off.
    SendLine(kOnlineRepairLine, kOnlineRepairLineBytes);
    return true;
}

bool CRepairRun::SendNetworkProbe()
{
    SendLine(kProbeLine, static_cast<int>(sizeof(kProbeLine)));
    return true;
}

bool CRepairRun::CloseProgressPopup()
{
    m_Ui.EndProgressPopup();
    return true;
}

bool CRepairRun::OnLocalRepairFailed()
{
    EndRunInFailure(kLocalFailedPrompt);
    return true;
}

bool CRepairRun::OnOnlineRepairFailed()
{
    EndRunInFailure(kOnlineFailedPrompt);
    return true;
}

void CRepairRun::EndRunInFailure(const std::wstring& prompt)
{
    m_nMode.store(Idle);
    m_Status.SetStatusText(L"");
    // The progress popup stays behind the prompt until it is closed.
    Prompt(prompt);
    if (Stopping())
        return;
    CloseProgressPopup();
    ClearRepairProcesses();
    m_Ui.EnableStartButton(true);
}

bool CRepairRun::OnNetworkRequired()
{
    Prompt(kNetworkRequiredPrompt);
    if (Stopping())
        return true;
    m_nMode.store(Idle);
    CloseProgressPopup();
    ClearRepairProcesses();
    // The start button was enabled by the probe's output already.
    return true;
}

bool CRepairRun::OnRepairSucceeded()
{
    m_bOnlinePhaseActive.store(false);
    m_nMode.store(Idle);
    // Decided now: the close button works while the prompt is open and at once after it, and
    // a tool that has repaired does not ask whether the problem was solved.
    m_bShowFeedbackOnClose.store(false);
    // The popup goes first, so that the success prompt stands alone.
    CloseProgressPopup();
    Prompt(kSucceededPrompt);
    if (Stopping())
        return true;
    m_Ui.EnableStartButton(true);
    ClearRepairProcesses();
    ReportRepairResult(1);
    return true;
}

bool CRepairRun::ReportRepairResult(int result)
{
    int code;
    switch (result) {
    case 1:
        code = 1;
        break;
    case 0:
        code = 2;
        break;
    case 3:
        code = 3;
        break;
    default:
        return true;
    }
    m_Feedback.CustomerFeedbackEx(kToolId, kToolVersion, code, std::to_wstring(m_Time.UnixTime()));
    return true;
}

std::string CRepairRun::OnlinePercent() const
{
    std::lock_guard lock(m_OnlinePercentLock);
    return m_strOnlinePercent;
}

bool CRepairRun::ClaimRunEnd(RunMode phase)
{
    RunMode expected = phase;
    return m_nMode.compare_exchange_strong(expected, Idle);
}

void CRepairRun::Prompt(const std::wstring& text)
{
    if (!Stopping())
        m_Ui.ShowPrompt(text, m_fScale.load());
}

void CRepairRun::SetOnlinePercent(std::string figure)
{
    std::lock_guard lock(m_OnlinePercentLock);
    m_strOnlinePercent.swap(figure);
}

void CRepairRun::RefreshProcessState()
{
    std::shared_lock lock(m_EngineLock);
    if (EngineHandle engine = m_hEngine.load())
        m_bRepairProcessSeen.store(m_Engine.GetProcessState(engine));
}

bool CRepairRun::IsRepairProcessRunning()
{
    std::shared_lock lock(m_EngineLock);
    EngineHandle engine = m_hEngine.load();
    return engine != nullptr && m_Engine.GetProcessState(engine);
}

void CRepairRun::ClearRepairProcesses()
{
    std::shared_lock lock(m_EngineLock);
    if (EngineHandle engine = m_hEngine.load())
        m_Engine.CmdClear(engine);
}

void CRepairRun::SendLine(const char* line, int byteCount)
{
    std::shared_lock lock(m_EngineLock);
    if (EngineHandle engine = m_hEngine.load())
        m_Engine.CmdSend(engine, line, byteCount);
}

int OnEngineOutput(const char* bytes, int count, void* context)
{
    if (context == nullptr)
        return 0;
    return static_cast<CRepairRun*>(context)->InterpretOutput(bytes, count) ? 1 : 0;
}

bool OnMonitorTick(void* context)
{
    return context != nullptr && static_cast<CRepairRun*>(context)->OnMonitorTick();
}

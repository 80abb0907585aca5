#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

// The record through which the run tells the progress popup what to show. Written by the UI,
// pump and monitor threads, read by the popup on the UI thread. Each text is replaced as a
// whole: a reader keeps the snapshot it fetched for as long as it draws it. A reader may see
// the fields of two different updates side by side; its next refresh shows the newer values.
class CRepairStatus {
public:
    using Text = std::shared_ptr<const std::wstring>;

    CRepairStatus() = default;
    CRepairStatus(const CRepairStatus&) = delete;
    CRepairStatus& operator=(const CRepairStatus&) = delete;

    int ProgressPercent() const;
    void SetProgressPercent(int percent);

    // Null until the first run writes it.
    Text PercentText() const;
    // The percent written as "%d%%".
    void SetPercentText(int percent);

    // Never null; empty before the first run.
    Text StatusText() const;
    void SetStatusText(std::wstring text);

private:
    std::atomic<int> nProgressPercent{0};
    mutable std::mutex m_TextLock;
    Text strPercentText;
    Text strStatusText;
};

// The process-wide record; it lives until the process ends, so a worker thread that outlives
// the windows never finds it destroyed.
CRepairStatus& RepairStatus();

#include "workflow/repair_status.h"

#include <utility>

namespace {

const CRepairStatus::Text& EmptyText()
{
    static const CRepairStatus::Text* empty = new CRepairStatus::Text(std::make_shared<const std::wstring>());
    return *empty;
}

} // namespace

int CRepairStatus::ProgressPercent() const
{
    return nProgressPercent.load();
}

void CRepairStatus::SetProgressPercent(int percent)
{
    nProgressPercent.store(percent);
}

CRepairStatus::Text CRepairStatus::PercentText() const
{
    std::lock_guard lock(m_TextLock);
    return strPercentText;
}

void CRepairStatus::SetPercentText(int percent)
{
    // Built outside the lock; the old text is released outside it too, by whoever holds it last.
    Text text = std::make_shared<const std::wstring>(std::to_wstring(percent) + L"%");
    std::lock_guard lock(m_TextLock);
    strPercentText.swap(text);
}

CRepairStatus::Text CRepairStatus::StatusText() const
{
    std::lock_guard lock(m_TextLock);
    return strStatusText ? strStatusText : EmptyText();
}

void CRepairStatus::SetStatusText(std::wstring text)
{
    Text replacement = std::make_shared<const std::wstring>(std::move(text));
    std::lock_guard lock(m_TextLock);
    strStatusText.swap(replacement);
}

CRepairStatus& RepairStatus()
{
    static CRepairStatus* record = new CRepairStatus();
    return *record;
}

#include "workflow/call_gate.h"

#include <chrono>

CCallGate::CPass::CPass(CCallGate& gate) : m_pGate(gate.TryEnter() ? &gate : nullptr) {}

CCallGate::CPass::~CPass()
{
    if (m_pGate)
        m_pGate->Leave();
}

void CCallGate::Close()
{
    std::lock_guard lock(m_Lock);
    m_bClosed.store(true);
}

void CCallGate::WaitUntilEmpty(const std::function<void()>& serveWhileWaiting)
{
    std::unique_lock lock(m_Lock);
    while (m_nInside > 0) {
        if (m_Left.wait_for(lock, std::chrono::milliseconds(20), [this] { return m_nInside == 0; }))
            break;
        // A thread inside may be waiting for the waiting thread (a window call sent to it).
        lock.unlock();
        serveWhileWaiting();
        lock.lock();
    }
}

bool CCallGate::TryEnter()
{
    std::lock_guard lock(m_Lock);
    if (m_bClosed.load())
        return false;
    ++m_nInside;
    return true;
}

void CCallGate::Leave()
{
    std::lock_guard lock(m_Lock);
    if (--m_nInside == 0)
        m_Left.notify_all();
}

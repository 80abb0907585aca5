#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

// Counts the worker threads inside the run, so that shutdown can wait until the last one has
// left before it closes the engine, and turns away every thread that comes later.
class CCallGate {
public:
    // Held while a thread is inside; false when the gate had already been closed.
    class CPass {
    public:
        explicit CPass(CCallGate& gate);
        ~CPass();
        CPass(const CPass&) = delete;
        CPass& operator=(const CPass&) = delete;
        explicit operator bool() const { return m_pGate != nullptr; }

    private:
        CCallGate* m_pGate;
    };

    CCallGate() = default;
    CCallGate(const CCallGate&) = delete;
    CCallGate& operator=(const CCallGate&) = delete;

    void Close();
    bool IsClosed() const { return m_bClosed.load(); }
    // Returns once no thread is inside; serveWhileWaiting runs between short waits.
    void WaitUntilEmpty(const std::function<void()>& serveWhileWaiting);

private:
    bool TryEnter();
    void Leave();

    std::atomic<bool> m_bClosed{false};
    std::mutex m_Lock;
    std::condition_variable m_Left;
    int m_nInside = 0;
};

#pragma once

// GoogleTest's Notification, which only its own thread tests use, for
// MinGW's win32 threads: their C++ library has no std::mutex for
// GoogleTest's. Included before GoogleTest's headers (cmake/ThirdParty.cmake).
#include <atomic>

namespace testing::internal {

class Notification
{
public:
    Notification() = default;
    Notification(const Notification &) = delete;
    Notification &operator=(const Notification &) = delete;

    void Notify() { m_notified.store(true); }
    void WaitForNotification() const
    {
        while (!m_notified.load()) { }
    }

private:
    std::atomic<bool> m_notified{false};
};

} // namespace testing::internal

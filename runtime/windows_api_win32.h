#pragma once

#include <utility>

#include <windows.h>

namespace lumvrex {

// A handle, closed at the end of its life.
class UniqueHandle
{
public:
    explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE)
        : m_handle(handle)
    { }
    ~UniqueHandle() { close(); }
    UniqueHandle(UniqueHandle &&other) noexcept
        : m_handle(std::exchange(other.m_handle, INVALID_HANDLE_VALUE))
    { }
    UniqueHandle &operator=(UniqueHandle &&other) noexcept
    {
        std::swap(m_handle, other.m_handle);
        return *this;
    }
    UniqueHandle(const UniqueHandle &) = delete;
    UniqueHandle &operator=(const UniqueHandle &) = delete;

    HANDLE get() const { return m_handle; }
    explicit operator bool() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    void close()
    {
        if (*this)
            CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

// A function of a system DLL that older Windows lack, looked up when the
// program runs so that it still starts there: nullptr where it is missing.
// Function is its type, e.g. UINT WINAPI(HWND).
template <typename Function> Function *systemFunction(const wchar_t *module, const char *name)
{
    return reinterpret_cast<Function *>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(module), name)));
}

} // namespace lumvrex

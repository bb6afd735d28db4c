#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace lumvrex {

// The operating system's own number for a failure, tagged with where it
// comes from, so that an errno is never read as a Windows error code or the
// other way round. Empty when the failure is not the system's.
class SystemCode
{
public:
    SystemCode() = default;
    static SystemCode fromErrno(int value) { return {Source::Errno, static_cast<std::uint32_t>(value)}; }
    static SystemCode fromWindows(std::uint32_t value) { return {Source::Windows, value}; }

    bool empty() const { return m_source == Source::None; }
    // The number, when the code is of that kind.
    std::optional<int> errnoValue() const
    {
        return m_source == Source::Errno ? std::optional<int>(static_cast<int>(m_value)) : std::nullopt;
    }
    std::optional<std::uint32_t> windowsValue() const
    {
        return m_source == Source::Windows ? std::optional<std::uint32_t>(m_value) : std::nullopt;
    }
    bool isErrno(int value) const { return errnoValue() == value; }
    bool operator==(const SystemCode &) const = default;

private:
    enum class Source : std::uint8_t { None, Errno, Windows };
    SystemCode(Source source, std::uint32_t value)
        : m_source(source)
        , m_value(value)
    { }
    Source m_source = Source::None;
    std::uint32_t m_value = 0; // an errno is a small positive int, a Windows code a DWORD
};

// Why something could not be done, in words for people (UTF-8), and the
// system's own code where the system refused. The kind tells the caller
// whose fault it is: what was given, or the place written to.
struct Error
{
    enum class Kind {
        BadInput,    // the inputs or arguments cannot make a script; nothing was written
        WriteFailed, // the script could not be written
    };
    Kind kind;
    std::string message;
    SystemCode code;
};

inline Error badInput(std::string message, SystemCode code = {})
{
    return {Error::Kind::BadInput, std::move(message), code};
}

inline Error writeFailed(std::string message, SystemCode code = {})
{
    return {Error::Kind::WriteFailed, std::move(message), code};
}

// A value, or the Error that stopped it from being made. Every fallible
// function in Lumvrex returns one of these.
template <typename T> class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_state(std::in_place_index<0>, std::move(value))
    { }
    Result(Error error)
        : m_state(std::in_place_index<1>, std::move(error))
    { }

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    T &operator*() { return std::get<0>(m_state); }
    const T &operator*() const { return std::get<0>(m_state); }
    T *operator->() { return &**this; }
    const T *operator->() const { return &**this; }

    const Error &error() const { return std::get<1>(m_state); }

private:
    std::variant<T, Error> m_state;
};

// Success with nothing to return, or the Error.
template <> class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Error error)
        : m_error(std::move(error))
    { }

    bool ok() const { return !m_error; }
    explicit operator bool() const { return ok(); }
    const Error &error() const { return *m_error; }

private:
    std::optional<Error> m_error;
};

using Status = Result<void>;

} // namespace lumvrex

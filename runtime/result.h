#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace lumvrex {

// Why something could not be done, in words for people (UTF-8). The kind
// tells the caller whose fault it is: what was given, or the place written to.
struct Error
{
    enum class Kind {
        BadInput,    // the inputs or arguments cannot make a script; nothing was written
        WriteFailed, // the script could not be written
    };
    Kind kind;
    std::string message;
};

inline Error badInput(std::string message)
{
    return {Error::Kind::BadInput, std::move(message)};
}

inline Error writeFailed(std::string message)
{
    return {Error::Kind::WriteFailed, std::move(message)};
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

    T &value() & { return std::get<0>(m_state); }
    const T &value() const & { return std::get<0>(m_state); }
    T &&value() && { return std::get<0>(std::move(m_state)); }
    T *operator->() { return &value(); }
    const T *operator->() const { return &value(); }
    T &operator*() & { return value(); }
    const T &operator*() const & { return value(); }

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

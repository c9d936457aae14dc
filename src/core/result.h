#pragma once
// A value or an error text, for module boundaries where a bare bool would
// lose the reason a caller wants to print.
#include <optional>
#include <string>
#include <utility>

namespace quell {

template <typename T>
class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    static Result failure(std::string reason) { return Result(std::move(reason), 0); }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *m_value; }
    T& value() & { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    const T& operator*() const& { return *m_value; }
    const T* operator->() const { return &*m_value; }
    const std::string& error() const { return m_error; }

private:
    Result(std::string reason, int) : m_error(std::move(reason)) {}
    std::optional<T> m_value;
    std::string m_error;
};

}  // namespace quell

#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

namespace lumvrex {

// Texts in order, stored end to end in one block: tens of thousands of
// pages cost two allocations, not one each. Holds the pages' paths.
class PageList
{
public:
    PageList() = default;
    PageList(std::initializer_list<std::string_view> texts)
    {
        for (const std::string_view text : texts)
            append(text);
    }
    PageList(const PageList &other) { *this = other; }
    PageList &operator=(const PageList &other)
    {
        if (this != &other) {
            clear();
            reserve(other.size(), other.totalBytes());
            for (const std::string_view text : other)
                append(text);
        }
        return *this;
    }
    PageList(PageList &&) noexcept = default;
    PageList &operator=(PageList &&) noexcept = default;

    void append(std::string_view text)
    {
        if (m_used + text.size() > m_capacity)
            grow(m_used + text.size());
        if (!text.empty())
            std::memcpy(m_text.get() + m_used, text.data(), text.size());
        m_used += text.size();
        m_ends.push_back(m_used);
    }

    // Rewrites every entry in place, in order: rewrite(index, text, to)
    // writes the entry's new text, never longer than the old one, at `to` and
    // returns its length. The old text is intact when rewrite gets it; `to`
    // may lie inside it.
    template <typename Rewrite> void rewriteEach(Rewrite rewrite)
    {
        std::size_t start = 0;
        std::size_t to = 0;
        for (std::size_t i = 0; i < m_ends.size(); ++i) {
            const std::size_t end = m_ends[i];
            to += rewrite(i, std::string_view(m_text.get() + start, end - start), m_text.get() + to);
            m_ends[i] = to;
            start = end;
        }
        m_used = to;
    }

    void reserve(std::size_t count, std::size_t bytes)
    {
        m_ends.reserve(count);
        if (bytes > m_capacity)
            grow(bytes);
    }
    void clear()
    {
        m_used = 0;
        m_ends.clear();
    }

    std::size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    std::size_t totalBytes() const { return m_used; }
    std::string_view operator[](std::size_t i) const
    {
        const std::size_t start = i == 0 ? 0 : m_ends[i - 1];
        return {m_text.get() + start, m_ends[i] - start};
    }

    bool operator==(const PageList &other) const
    {
        return m_ends == other.m_ends
            && std::string_view(m_text.get(), m_used) == std::string_view(other.m_text.get(), other.m_used);
    }

    class Iterator
    {
    public:
        Iterator(const PageList &list, std::size_t at)
            : m_list(&list)
            , m_at(at)
        { }
        std::string_view operator*() const { return (*m_list)[m_at]; }
        Iterator &operator++()
        {
            ++m_at;
            return *this;
        }
        bool operator==(const Iterator &other) const { return m_at == other.m_at; }

    private:
        const PageList *m_list;
        std::size_t m_at;
    };
    Iterator begin() const { return {*this, 0}; }
    Iterator end() const { return {*this, size()}; }

private:
    // The block is left uninitialised: it is written before it is read, and
    // filling megabytes with zeros first would cost as much as the writing.
    void grow(std::size_t atLeast)
    {
        const std::size_t capacity = std::max(atLeast, m_capacity * 2);
        auto text = std::make_unique_for_overwrite<char[]>(capacity);
        if (m_used > 0)
            std::memcpy(text.get(), m_text.get(), m_used);
        m_text = std::move(text);
        m_capacity = capacity;
    }

    std::unique_ptr<char[]> m_text;
    std::size_t m_used = 0;
    std::size_t m_capacity = 0;
    std::vector<std::size_t> m_ends;
};

} // namespace lumvrex

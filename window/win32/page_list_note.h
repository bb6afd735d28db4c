#pragma once

#include <string>

#include <windows.h>

namespace lumvrex {

// The page list's brief notes: a balloon below the list, without a box,
// taken away after a few seconds or by the next note. A screen reader hears
// each note once, as it appears: the balloon is a help balloon named by its
// note, and both NVDA ("Report notifications", on by default) and JAWS
// (HelpBalloonEvent) say one when it is shown. Nothing of the note stays in
// the list's own texts, which a screen reader reads again on every visit.
class PageListNote
{
public:
    explicit PageListNote(HWND list);
    ~PageListNote();
    PageListNote(const PageListNote &) = delete;
    PageListNote &operator=(const PageListNote &) = delete;

    // Shows the note, in place of any other; empty takes it away.
    void show(const std::string &text);
    void hide();
    // The note shown; empty when there is none.
    const std::string &text() const { return m_text; }

private:
    static LRESULT CALLBACK balloonProcedure(HWND balloon, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR self);

    HWND m_list;
    HWND m_balloon = nullptr;
    std::string m_text;
};

} // namespace lumvrex

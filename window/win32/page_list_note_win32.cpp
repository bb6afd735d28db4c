#include "window/win32/page_list_note.h"

#include "runtime/system.h"
#include "window/win32/accessible_name.h"

#include <commctrl.h>
#include <oleacc.h>

namespace lumvrex {
namespace {

constexpr UINT kShownMilliseconds = 4000;
// The balloon's own timers are numbered from 1; this one is taken before
// they would see it.
constexpr UINT_PTR kHideTimer = 0x4E4F5445; // "NOTE"
constexpr UINT_PTR kSubclassId = kHideTimer;

TOOLINFOW toolOf(HWND list)
{
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    tool.hwnd = list;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = const_cast<wchar_t *>(L"");
    return tool;
}

} // namespace

PageListNote::PageListNote(HWND list)
    : m_list(list)
{
    // A tracking tooltip: shown where it is put, when it is asked to be.
    m_balloon = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_BALLOON, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, list, nullptr, nullptr, nullptr);
    if (!m_balloon)
        return;
    TOOLINFOW tool = toolOf(list);
    SendMessageW(m_balloon, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SetWindowSubclass(m_balloon, balloonProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

PageListNote::~PageListNote()
{
    if (m_balloon && IsWindow(m_balloon))
        DestroyWindow(m_balloon);
}

void PageListNote::show(const std::string &text)
{
    // Taken away first, so that every note is shown, and said, anew.
    hide();
    m_text = text;
    if (text.empty() || !m_balloon)
        return;
    const std::wstring wide = wideFromUtf8(text);
    TOOLINFOW tool = toolOf(m_list);
    tool.lpszText = const_cast<wchar_t *>(wide.c_str());
    SendMessageW(m_balloon, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    RECT place = {};
    GetWindowRect(m_list, &place);
    SendMessageW(m_balloon, TTM_TRACKPOSITION, 0, MAKELPARAM(place.left + 8, place.bottom));
    SendMessageW(m_balloon, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    // Windows tells of the window's showing as of the window itself, which
    // NVDA takes for its client area and so for this same event, which it
    // merges with it; Wine tells nothing.
    NotifyWinEvent(EVENT_OBJECT_SHOW, m_balloon, OBJID_CLIENT, CHILDID_SELF);
    SetTimer(m_balloon, kHideTimer, kShownMilliseconds, nullptr);
}

void PageListNote::hide()
{
    m_text.clear();
    if (!m_balloon)
        return;
    KillTimer(m_balloon, kHideTimer);
    TOOLINFOW tool = toolOf(m_list);
    SendMessageW(m_balloon, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

// A tooltip is said only where the user asked for tooltips (NVDA leaves
// them out by default); a help balloon is said as it appears.
LRESULT CALLBACK PageListNote::balloonProcedure(HWND balloon, UINT message, WPARAM wParam, LPARAM lParam,
                                                UINT_PTR, DWORD_PTR self)
{
    auto *note = reinterpret_cast<PageListNote *>(self);
    switch (message) {
    case WM_TIMER:
        if (wParam == kHideTimer) {
            note->hide();
            return 0;
        }
        break;
    case WM_GETOBJECT:
        if (const LRESULT named = accessibleObjectNamed(balloon, wParam, lParam, wideFromUtf8(note->m_text),
                                                        {}, ROLE_SYSTEM_HELPBALLOON))
            return named;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(balloon, balloonProcedure, kSubclassId);
        note->m_balloon = nullptr;
        break;
    }
    return DefSubclassProc(balloon, message, wParam, lParam);
}

} // namespace lumvrex

// Prints what a screen reader in another process is told while a program's
// window runs: the accessibility events it gets from that program, as NVDA
// hooks them (out of context), each with the object's role and name read
// through oleacc when it arrives. An event for a window itself is read from
// its client area, as NVDA reads it.
// Usage: win_events.exe "WINDOW TITLE" SECONDS
//        one line per event until the window is gone or the time is up:
//        the event, a tab, the window's class, a tab, the child, a tab, the
//        role (a ROLE_SYSTEM_ number), a tab, the name (UTF-8).
#include "runtime/system.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <oleacc.h>

namespace {

struct EventName
{
    DWORD event;
    const char *name;
};

// The events screen readers act on; the rest (places, creation) are left out.
constexpr EventName kEvents[] = {
    {EVENT_SYSTEM_ALERT, "alert"},
    {EVENT_SYSTEM_MENUPOPUPSTART, "menustart"},
    {EVENT_SYSTEM_MENUPOPUPEND, "menuend"},
    {EVENT_OBJECT_SHOW, "show"},
    {EVENT_OBJECT_HIDE, "hide"},
    {EVENT_OBJECT_FOCUS, "focus"},
    {EVENT_OBJECT_NAMECHANGE, "namechange"},
    {EVENT_OBJECT_DESCRIPTIONCHANGE, "descriptionchange"},
};

struct Event
{
    const char *name;
    HWND window;
    LONG object;
    LONG child;
};

// Read in their order once the hook has returned, as NVDA reads them:
// reading one from the program lets the next ones in.
std::vector<Event> g_waiting;

void CALLBACK told(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    for (const EventName &known : kEvents) {
        if (known.event == event)
            g_waiting.push_back({known.name, window, object, child});
    }
}

void print(Event event)
{
    if (event.object == OBJID_WINDOW && event.child == CHILDID_SELF)
        event.object = OBJID_CLIENT;
    wchar_t kind[64] = {};
    GetClassNameW(event.window, kind, 64);
    std::wstring text;
    long role = 0;
    IAccessible *found = nullptr;
    VARIANT item = {};
    if (event.object == OBJID_CLIENT
        && SUCCEEDED(AccessibleObjectFromEvent(event.window, event.object, event.child, &found, &item))) {
        BSTR said = nullptr;
        if (SUCCEEDED(found->get_accName(item, &said)) && said)
            text = said;
        SysFreeString(said);
        VARIANT kindOf = {};
        if (SUCCEEDED(found->get_accRole(item, &kindOf)) && kindOf.vt == VT_I4)
            role = kindOf.lVal;
        found->Release();
    }
    const std::string line = std::string(event.name) + '\t' + lumvrex::utf8FromWide(kind) + '\t'
        + std::to_string(event.child) + '\t' + std::to_string(role) + '\t' + lumvrex::utf8FromWide(text)
        + '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc != 3) {
        std::fputs("usage: win_events.exe \"WINDOW TITLE\" SECONDS\n", stderr);
        return 2;
    }
    _setmode(_fileno(stdout), _O_BINARY); // lines end in LF alone
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HWND window = FindWindowW(nullptr, argv[1]);
    DWORD process = 0;
    if (!window || !GetWindowThreadProcessId(window, &process)) {
        std::fputs("no such window\n", stderr);
        return 1;
    }
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, told, process, 0, WINEVENT_OUTOFCONTEXT);
    if (!hook) {
        std::fputs("no hook\n", stderr);
        return 1;
    }
    const ULONGLONG end = GetTickCount64() + 1000ULL * std::wcstoul(argv[2], nullptr, 10);
    while (IsWindow(window) && GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        while (!g_waiting.empty()) {
            std::vector<Event> now;
            now.swap(g_waiting);
            for (const Event &event : now)
                print(event);
        }
    }
    UnhookWinEvent(hook);
    CoUninitialize();
    return 0;
}

// Prints the names a screen reader gets for the controls of another
// program's window, as a screen reader asks for them: through oleacc, from
// outside the program.
// Usage: accessible_names.exe "WINDOW TITLE"   one line per control, in z-order:
//        its class, a tab, its accessible name (UTF-8).
#include "runtime/windows_text.h"

#include <cstdio>
#include <string>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <oleacc.h>

namespace {

std::wstring nameOf(HWND control)
{
    IAccessible *object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void **>(&object))))
        return L"(no accessible object)";
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result = SUCCEEDED(object->get_accName(self, &name)) && name ? name : L"(no name)";
    SysFreeString(name);
    object->Release();
    return result;
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc != 2) {
        std::fputs("usage: accessible_names.exe \"WINDOW TITLE\"\n", stderr);
        return 2;
    }
    _setmode(_fileno(stdout), _O_BINARY); // lines end in LF alone
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HWND window = FindWindowW(nullptr, argv[1]);
    if (!window) {
        std::fputs("no such window\n", stderr);
        return 1;
    }
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[64] = {};
        GetClassNameW(child, kind, 64);
        const std::string line = lumvrex::utf8FromWide(std::wstring(kind) + L'\t' + nameOf(child) + L'\n');
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    CoUninitialize();
    return 0;
}

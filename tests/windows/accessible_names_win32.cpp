// Prints the names a screen reader gets for the controls of another
// program's window, as a screen reader asks for them: through oleacc, from
// outside the program.
// Usage: accessible_names.exe "WINDOW TITLE"   one line per control, in z-order:
//        its class, a tab, its accessible name (UTF-8).
//        accessible_names.exe "WINDOW TITLE" CLASS   one line per item of the
//        first control of that class: its name, a tab, its description.
#include "runtime/system.h"

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

// The items of a control, as a screen reader walks them.
std::wstring itemsOf(HWND control)
{
    IAccessible *object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void **>(&object))))
        return L"(no accessible object)\n";
    long count = 0;
    object->get_accChildCount(&count);
    std::wstring lines;
    for (long i = 1; i <= count; ++i) {
        VARIANT item = {};
        item.vt = VT_I4;
        item.lVal = i;
        BSTR name = nullptr;
        BSTR description = nullptr;
        object->get_accName(item, &name);
        object->get_accDescription(item, &description);
        lines += std::wstring(name ? name : L"") + L'\t' + (description ? description : L"") + L'\n';
        SysFreeString(name);
        SysFreeString(description);
    }
    object->Release();
    return lines;
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc != 2 && argc != 3) {
        std::fputs("usage: accessible_names.exe \"WINDOW TITLE\" [CLASS]\n", stderr);
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
        if (argc == 3) {
            if (std::wstring(kind) == argv[2]) {
                const std::string lines = lumvrex::utf8FromWide(itemsOf(child));
                std::fwrite(lines.data(), 1, lines.size(), stdout);
                break;
            }
            continue;
        }
        const std::string line = lumvrex::utf8FromWide(std::wstring(kind) + L'\t' + nameOf(child) + L'\n');
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    CoUninitialize();
    return 0;
}

#include "i18n/messages.h"
#include "window/win32/form1.h"

#include <commctrl.h>
#include <objbase.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    lumvrex::startMessages();
    // COM, for the accessible objects that tell screen readers the names
    // of the fields and the list.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    int exitCode = 1;
    {
        lumvrex::Form1 form(instance);
        if (form.window()) {
            form.show(showCommand);
            exitCode = lumvrex::runForm1(form);
        }
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return exitCode;
}

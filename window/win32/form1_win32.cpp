#include "window/win32/form1.h"

#include "publication/page_effect_source.h"
#include "runtime/system.h"
#include "window/form1_actions.h"
#include "window/page_list_texts.h"
#include "window/win32/accessible_name.h"
#include "window/win32/dialogs_win32.h"
#include "window/win32/dpi.h"
#include "window/win32/page_list_box.h"

#include <algorithm>

namespace lumvrex {
namespace {

constexpr wchar_t kClassName[] = L"LumvrexForm1";
// The icon's name in the program's resources (resources/lumvrex.rc.in).
constexpr wchar_t kIconName[] = L"IDI_ICON1";
constexpr int kFirstControlId = 100;

struct WindowsControl
{
    const wchar_t *className;
    DWORD style;
    DWORD extendedStyle;
};

WindowsControl windowsControl(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label:
        // Clipped at the right rather than wrapped onto a second line, which
        // the label is too low to show.
        return {L"STATIC", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case ControlKind::TextField:
        return {L"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::PageList:
        return {PageListBox::kClassName, PageListBox::kStyle, PageListBox::kExtendedStyle};
    case ControlKind::PushButton:
        break;
    }
    // A plain push button: none of them is a default or cancel button.
    return {L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0};
}

HICON loadIcon(HINSTANCE instance, int sizeMetric)
{
    const int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(LoadImageW(instance, kIconName, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void registerWindowClass(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    // Room for what the dialog manager keeps: the window runs on
    // DefDlgProc, which moves the focus and tracks the default button.
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hIcon = loadIcon(instance, SM_CXICON);
    windowClass.hIconSm = loadIcon(instance, SM_CXSMICON);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
}

} // namespace

Form1::Form1(HINSTANCE instance)
    : m_ownEffects(std::make_unique<ClockEffectSource>())
    , m_effects(m_ownEffects.get())
{
    registerWindowClass(instance, windowProcedure);
    PageListBox::registerClass(instance);
    // An owned window has no task bar button.
    m_owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    CreateWindowExW(kExtendedStyle, kClassName, wideFromUtf8(kForm1Caption).c_str(), kStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, 0, 0, m_owner, nullptr, instance, this);
    if (!m_window)
        return;
    m_ownDialogs = std::make_unique<Win32Dialogs>(m_window);
    m_dialogs = m_ownDialogs.get();
    createControls(instance);
    setTabOrder();
    nameControls();
    layOut(dotsPerInch(m_window));
}

Form1::~Form1()
{
    if (m_window) {
        // Destroyed by its owner rather than closed by the user: the message
        // loop is not told to end.
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
    m_pages.reset();
    if (m_owner)
        DestroyWindow(m_owner);
    if (m_font)
        DeleteObject(m_font);
}

void Form1::createControls(HINSTANCE instance)
{
    for (const Form1Control &entry : kForm1Controls) {
        const WindowsControl kind = windowsControl(entry.kind);
        const std::size_t index = form1Index(entry);
        m_controls[index] = CreateWindowExW(
            kind.extendedStyle, kind.className, wideFromUtf8(entry.caption).c_str(), kind.style, 0, 0, 0, 0,
            m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)), instance,
            nullptr);
        if (entry.kind == ControlKind::PageList) {
            m_pages = std::make_unique<PageListBox>(m_controls[index], [this](const std::string &text) {
                m_pendingWarnings.push_back(text);
                PostMessageW(m_window, kPageListWarning, 0, 0);
            });
        }
    }
}

// The dialog manager walks the controls in z-order, so the z-order is the
// tab order; the labels, which take no focus, come after.
void Form1::setTabOrder()
{
    HWND previous = HWND_TOP;
    for (const Form1Control *entry : form1FocusOrder()) {
        const HWND control = m_controls[form1Index(*entry)];
        SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = control;
    }
}

// The fields are named here; the page list names itself, with its count.
void Form1::nameControls()
{
    for (const Form1Control &entry : kForm1Controls) {
        if (entry.kind == ControlKind::TextField) {
            setAccessibleName(m_controls[form1Index(entry)],
                              [name = wideFromUtf8(spokenName(entry))] { return name; });
        }
    }
}

void Form1::layOut(UINT dpi)
{
    const auto pixels = [dpi](int twips) { return pixelsFromTwips(twips, static_cast<int>(dpi)); };
    const HFONT font = createDialogFont(dpi);
    for (const Form1Control &entry : kForm1Controls) {
        const HWND control = m_controls[form1Index(entry)];
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SetWindowPos(control, nullptr, pixels(entry.place.left), pixels(entry.place.top),
                     pixels(entry.place.width), pixels(entry.place.height), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_font)
        DeleteObject(m_font);
    m_font = font;
    m_pages->fitColumns();
    const SIZE client = {pixels(kForm1ClientArea.width), pixels(kForm1ClientArea.height)};
    SIZE size = windowSizeFor(client, kStyle, kExtendedStyle, dpi);
    SetWindowPos(m_window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame Windows really drew may differ from the one computed (a
    // program not aware of the DPI it is laid out for); measured, it is exact.
    RECT frame = {};
    RECT inside = {};
    GetWindowRect(m_window, &frame);
    GetClientRect(m_window, &inside);
    if (inside.right != client.cx || inside.bottom != client.cy) {
        size = {client.cx + (frame.right - frame.left) - inside.right,
                client.cy + (frame.bottom - frame.top) - inside.bottom};
        SetWindowPos(m_window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(m_window, nullptr, TRUE);
}

HWND Form1::control(const Form1Control &entry) const
{
    return m_controls[form1Index(entry)];
}

void Form1::show(int showCommand)
{
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
    SendMessageW(m_window, WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(m_controls[form1Index(*form1FocusOrder().front())]), TRUE);
}

bool Form1::translate(MSG &message)
{
    return m_window && IsDialogMessageW(m_window, &message);
}

void Form1::setDialogs(Dialogs *dialogs)
{
    m_dialogs = dialogs ? dialogs : m_ownDialogs.get();
}

void Form1::setEffectSource(PageEffectSource *effects)
{
    m_effects = effects ? effects : m_ownEffects.get();
}

std::string Form1::fieldText(const Form1Control &entry) const
{
    const HWND field = control(entry);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        std::max(0, GetWindowTextW(field, text.data(), static_cast<int>(text.size())))));
    return utf8FromWide(text);
}

PublicationInputs Form1::publicationInputs() const
{
    return form1Inputs([this](const Form1Control &field) { return fieldText(field); },
                       m_pages->editor().pages());
}

std::size_t Form1::pageCount() const
{
    return m_pages ? m_pages->editor().size() : 0;
}

void Form1::clicked(const Form1Control &entry)
{
    switch (entry.action) {
    case ButtonAction::CreatePublication:
        createPublicationClicked();
        break;
    case ButtonAction::Exit:
        DestroyWindow(m_window);
        break;
    case ButtonAction::ClearPages:
        m_pages->pages().run(PageCommand::Clear);
        break;
    case ButtonAction::None:
        break;
    }
}

void Form1::createPublicationClicked()
{
    createPublicationFromForm1(publicationInputs(), m_pages->pages(), *m_dialogs, *m_effects);
}

void Form1::showPageListWarnings()
{
    std::vector<std::string> warnings;
    warnings.swap(m_pendingWarnings);
    for (const std::string &text : warnings)
        m_dialogs->warn(kApplicationTitle, text);
}

LRESULT CALLBACK Form1::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<Form1 *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<Form1 *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return DefDlgProcW(window, message, wParam, lParam);
    const LRESULT result = self->handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_window = nullptr;
    }
    return result;
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        // Return in a field and Escape arrive as IDOK and IDCANCEL, which no
        // control has: there is no default and no cancel button.
        const int index = LOWORD(wParam) - kFirstControlId;
        if (HIWORD(wParam) == BN_CLICKED && index >= 0 && index < static_cast<int>(kForm1Controls.size()))
            clicked(kForm1Controls[static_cast<std::size_t>(index)]);
        return 0;
    }
    case WM_DRAWITEM: {
        const auto &item = *reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        if (m_pages && item.hwndItem == m_pages->handle()) {
            m_pages->draw(item);
            return TRUE;
        }
        break;
    }
    case kPageListWarning:
        showPageListWarnings();
        return 0;
    case WM_DPICHANGED: {
        layOut(HIWORD(wParam));
        const RECT &suggested = *reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_window, nullptr, suggested.left, suggested.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        // The dialog manager would turn this into IDCANCEL.
        DestroyWindow(m_window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefDlgProcW(m_window, message, wParam, lParam);
}

int runForm1(Form1 &form)
{
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!form.translate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

} // namespace lumvrex

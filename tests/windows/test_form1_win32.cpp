// The native Form1 in this process, on a real (virtual) display: its frame,
// the place of every control at several DPIs, the keyboard as the dialog
// manager handles it, the names screen readers get through oleacc, drops on
// the page list, the buttons, Windows' own dialogs, and the resources of
// lumvrex.exe. Lumvrex's own texts are expected in the session's language,
// as the catalogue has them: CTest runs the suite in an English session,
// scripts/test-windows again in a Spanish one.
#include "i18n/message_format.h"
#include "i18n/messages.h"
#include "runtime/system.h"
#include "support/catalogue_text.h"
#include "support/fakes.h"
#include "support/files.h"
#include "support/form1_table.h"
#include "window/folder_pictures.h"
#include "window/missing_pictures.h"
#include "window/page_list_texts.h"
#include "window/win32/dialogs_win32.h"
#include "window/win32/form1.h"
#include "window/win32/page_list_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iterator>
#include <set>

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shlobj.h>

namespace lumvrex {
namespace {

namespace fs = std::filesystem;
using testing::caseName;
using testing::FakeDialogs;
using testing::FixedEffectSource;
using testing::readWholeFile;
using testing::scriptLines;
using testing::TemporaryFolder;

// Under Wine the session's language is the locale its wineserver started
// in.
bool sessionIsSpanish()
{
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_SPANISH;
}

// What a user of the session's language reads.
const testing::CatalogueText &said()
{
    static const testing::CatalogueText text(sessionIsSpanish(), LUMVREX_SPANISH_CATALOGUE,
                                             [](const std::string &miss) { ADD_FAILURE() << miss; });
    return text;
}

// The program chooses its language at the start of main; so does this one.
class Messages : public ::testing::Environment
{
public:
    void SetUp() override { startMessages(); }
};
[[maybe_unused]] ::testing::Environment *const kMessages = ::testing::AddGlobalTestEnvironment(new Messages);

// "Pages: 3 pages", as the list's name reads.
std::string listName(std::size_t count)
{
    return "Pages: "
        + formatMessage(said().count("spoken name", "%s page", "%s pages", count), {std::to_string(count)});
}

// The page list's note when some files did not fit; source is "dropped",
// "pasted" or "chosen".
std::string overflowNote(const std::string &source, std::size_t left)
{
    const std::string one =
        "The page list holds at most %1$s pages: %2$s of the " + source + " files was not added.";
    const std::string many =
        "The page list holds at most %1$s pages: %2$s of the " + source + " files were not added.";
    return formatMessage(said().count("note", one.c_str(), many.c_str(), left),
                         {said().thousands(32767), std::to_string(left)});
}

// A context menu item as Windows holds it: its caption, a tab and the key,
// "Ctrl+Left" with each named in the user's language (letters as they are).
std::string menuItem(const char *caption, const char *key = nullptr, const char *ellipsis = "")
{
    std::string item = said().text("page menu", caption) + ellipsis;
    if (!key)
        return item;
    item += '\t';
    std::string_view rest = key;
    while (!rest.empty()) {
        const std::string part(rest.substr(0, rest.find('+')));
        item += part.size() == 1 ? part : said().text("key name", part.c_str());
        rest.remove_prefix(std::min(rest.size(), part.size() + 1));
        if (!rest.empty())
            item += '+';
    }
    return item;
}

// The access key of a caption: the letter after its '&', as typed.
wchar_t accessKeyOf(const std::string &caption)
{
    const std::size_t amp = caption.find('&');
    if (amp == std::string::npos || amp + 1 >= caption.size())
        return 0;
    return static_cast<wchar_t>(std::tolower(static_cast<unsigned char>(caption[amp + 1])));
}

// The system's own reason for an error, in the language given (0: the
// user's), without its closing full stop.
std::string windowsReason(DWORD error, DWORD language = 0)
{
    wchar_t text[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        error, language, text, 512, nullptr);
    std::wstring reason(text, length);
    while (!reason.empty() && std::wstring_view(L" .\r\n").find(reason.back()) != std::wstring_view::npos)
        reason.pop_back();
    return utf8FromWide(reason);
}

std::wstring textOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(std::max(0, GetWindowTextW(window, text.data(), int(text.size())))));
    return text;
}

std::wstring classOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::string narrow(const std::wstring &wide)
{
    return utf8FromWide(wide);
}

// Handles what is waiting, as the message loop would.
void pump(Form1 &form)
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam)); // left for the test to see
            return;
        }
        if (!form.translate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// A key pressed and let go on the focused control, through the message loop.
void press(Form1 &form, WPARAM key)
{
    for (const UINT message : {WM_KEYDOWN, WM_KEYUP})
        PostMessageW(GetFocus(), message, key, message == WM_KEYUP ? 0xC0000001 : 1);
    pump(form);
}

// Files as Explorer drops and copies them: a DROPFILES block of wide paths.
HGLOBAL dropFilesBlock(const std::vector<std::wstring> &paths)
{
    std::size_t characters = 1;
    for (const std::wstring &path : paths)
        characters += path.size() + 1;
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    auto *files = static_cast<DROPFILES *>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    auto *text = reinterpret_cast<wchar_t *>(files + 1);
    for (const std::wstring &path : paths) {
        std::copy(path.begin(), path.end(), text);
        text += path.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

void drop(HWND target, const std::vector<std::wstring> &paths)
{
    const HGLOBAL memory = dropFilesBlock(paths);
    // The receiver frees the block with DragFinish.
    SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

std::wstring accessibleName(HWND control, HWND *answeredFor = nullptr)
{
    IAccessible *object = nullptr;
    if (const HRESULT found = AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                         reinterpret_cast<void **>(&object));
        FAILED(found))
        return L"(no accessible object: " + std::to_wstring(found) + L")";
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT got = object->get_accName(self, &name);
    std::wstring result = SUCCEEDED(got) && name ? name : L"(no name)";
    SysFreeString(name);
    if (answeredFor)
        WindowFromAccessibleObject(object, answeredFor);
    object->Release();
    return result;
}

// What a screen reader in another process is told: the accessibility
// events of this process, each with the name and role of the object it
// names, read as the event arrives. An event for a window itself is read
// from its client area, as NVDA reads it.
class WinEvents
{
public:
    struct Seen
    {
        DWORD event;
        HWND window;
        LONG child;
        std::string name;
        long role;
    };

    WinEvents(DWORD first, DWORD last)
        : m_hook(
            SetWinEventHook(first, last, nullptr, record, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT))
    {
        s_current = this;
    }
    ~WinEvents()
    {
        UnhookWinEvent(m_hook);
        s_current = nullptr;
    }
    WinEvents(const WinEvents &) = delete;
    WinEvents &operator=(const WinEvents &) = delete;

    bool hooked() const { return m_hook != nullptr; }
    // Those of one event for one window, in their order.
    std::vector<Seen> of(DWORD event, HWND window) const
    {
        std::vector<Seen> found;
        std::copy_if(seen.begin(), seen.end(), std::back_inserter(found),
                     [&](const Seen &one) { return one.event == event && one.window == window; });
        return found;
    }

    std::vector<Seen> seen;

private:
    static void CALLBACK record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                                DWORD)
    {
        if (!s_current)
            return;
        if (object == OBJID_WINDOW && child == CHILDID_SELF)
            object = OBJID_CLIENT;
        Seen seen{event, window, child, {}, 0};
        IAccessible *found = nullptr;
        VARIANT item = {};
        if (object == OBJID_CLIENT
            && SUCCEEDED(AccessibleObjectFromEvent(window, object, child, &found, &item))) {
            BSTR name = nullptr;
            if (SUCCEEDED(found->get_accName(item, &name)) && name)
                seen.name = narrow(name);
            SysFreeString(name);
            VARIANT role = {};
            if (SUCCEEDED(found->get_accRole(item, &role)) && role.vt == VT_I4)
                seen.role = role.lVal;
            found->Release();
        }
        s_current->seen.push_back(seen);
    }

    static inline WinEvents *s_current = nullptr;
    HWINEVENTHOOK m_hook;
};

class Form1Test : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    static void TearDownTestSuite() { CoUninitialize(); }

    void SetUp() override
    {
        ASSERT_NE(form.window(), nullptr) << "no window: the tests need a display (scripts/test-windows "
                                             "runs them under Xvfb)";
        form.setDialogs(&dialogs);
        form.setEffectSource(&effects);
        form.show(SW_SHOWNORMAL);
        pump(form);
    }
    void TearDown() override
    {
        // An Exit leaves WM_QUIT behind; it must not end the next test's
        // dialogs.
        MSG message;
        while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) { }
    }

    HWND control(std::string_view name) const
    {
        for (const Form1Control &entry : kForm1Controls) {
            if (entry.name == name)
                return form.control(entry);
        }
        return nullptr;
    }
    void click(std::string_view name)
    {
        SendMessageW(control(name), BM_CLICK, 0, 0);
        pump(form);
    }
    void focus(std::string_view name)
    {
        SendMessageW(form.window(), WM_NEXTDLGCTL, WPARAM(control(name)), TRUE);
    }
    std::string focusedName() const
    {
        for (const Form1Control &entry : kForm1Controls) {
            if (form.control(entry) == GetFocus())
                return std::string(entry.name);
        }
        return "(outside the window)";
    }

    Form1 form{GetModuleHandleW(nullptr)};
    FakeDialogs dialogs;
    FixedEffectSource effects;
};

TEST_F(Form1Test, IsAFixedWindowWithACloseBoxOutOfTheTaskBar)
{
    EXPECT_EQ(narrow(textOf(form.window())), kForm1Caption);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(form.window(), GWL_STYLE));
    EXPECT_EQ(style & WS_CAPTION, DWORD(WS_CAPTION));
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    // Owned by a window that is never shown: no task bar button.
    const HWND owner = GetWindow(form.window(), GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_FALSE(GetWindowLongPtrW(form.window(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

// Every control at its twips rectangle, and the client area around them,
// after Windows said the window is on a monitor of that DPI, at the place
// Windows suggested.
class Form1Layout : public Form1Test, public ::testing::WithParamInterface<UINT>
{
};

TEST_P(Form1Layout, PutsEveryControlAtItsTwipsRectangle)
{
    const UINT dpi = GetParam();
    RECT suggested = {40, 50, 60, 70};
    SendMessageW(form.window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT frame = {};
    GetWindowRect(form.window(), &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 50);
    const auto pixels = [dpi](int twips) { return pixelsFromTwips(twips, int(dpi)); };
    RECT client = {};
    GetClientRect(form.window(), &client);
    EXPECT_EQ(client.right, pixels(kForm1ClientArea.width));
    EXPECT_EQ(client.bottom, pixels(kForm1ClientArea.height));
    if (dpi == 96) {
        EXPECT_EQ(client.right, 435);
        EXPECT_EQ(client.bottom, 191);
    }
    EXPECT_EQ(client.right, pixels(lumvrex::testing::kExpectedClientWidth));
    EXPECT_EQ(client.bottom, pixels(lumvrex::testing::kExpectedClientHeight));
    for (const lumvrex::testing::ExpectedControl &entry : lumvrex::testing::kExpectedForm1) {
        const HWND window = control(entry.name);
        ASSERT_NE(window, nullptr) << entry.name;
        RECT place = {};
        GetWindowRect(window, &place);
        MapWindowPoints(nullptr, form.window(), reinterpret_cast<POINT *>(&place), 2);
        EXPECT_EQ(place.left, pixels(entry.left)) << entry.name;
        EXPECT_EQ(place.top, pixels(entry.top)) << entry.name;
        EXPECT_EQ(place.right - place.left, pixels(entry.width)) << entry.name;
        EXPECT_EQ(place.bottom - place.top, pixels(entry.height)) << entry.name;
        EXPECT_EQ(narrow(textOf(window)), entry.caption) << entry.name;
        EXPECT_TRUE(IsWindowVisible(window) && IsWindowEnabled(window)) << entry.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, Form1Layout, ::testing::Values(96u, 120u, 144u, 192u),
                         [](const auto &info) { return std::to_string(info.param) + "dpi"; });

struct KindCase
{
    ControlKind kind;
    const wchar_t *className;
};

TEST_F(Form1Test, ControlsAreWindowsOwnWithTheirCaptionsAndEmptyFields)
{
    const KindCase kinds[] = {{ControlKind::Label, L"Static"},
                              {ControlKind::TextField, L"Edit"},
                              {ControlKind::PageList, L"LumvrexPageList"}, // Windows' list box, extended
                              {ControlKind::PushButton, L"Button"}};
    for (const Form1Control &entry : kForm1Controls) {
        const HWND window = control(entry.name);
        for (const KindCase &kind : kinds) {
            if (kind.kind == entry.kind) {
                EXPECT_EQ(CompareStringOrdinal(classOf(window).c_str(), -1, kind.className, -1, TRUE),
                          CSTR_EQUAL)
                    << entry.name << " is a " << narrow(classOf(window));
            }
        }
        // Captions exactly, no access keys; fields empty.
        EXPECT_EQ(narrow(textOf(window)), entry.caption) << entry.name;
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
        if (entry.kind == ControlKind::Label) {
            EXPECT_TRUE(style & SS_NOPREFIX) << entry.name;
        } else if (entry.kind == ControlKind::PageList) {
            EXPECT_FALSE(style & LBS_SORT);
            EXPECT_EQ(SendMessageW(window, LB_GETCOUNT, 0, 0), 0);
        }
    }
}

TEST_F(Form1Test, TabWalksTheFocusOrderFromCreatePub)
{
    std::vector<std::string> expected(lumvrex::testing::kExpectedFocusOrder.begin(),
                                      lumvrex::testing::kExpectedFocusOrder.end());
    EXPECT_EQ(focusedName(), "Command1");

    std::vector<std::string> forwards{focusedName()};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        press(form, VK_TAB);
        forwards.push_back(focusedName());
    }
    expected.push_back(expected.front()); // and round again
    EXPECT_EQ(forwards, expected);

    // Shift+Tab: the dialog manager's previous item, the same walk backwards.
    std::vector<std::string> backwards{"Command1"};
    HWND at = control("Command1");
    for (std::size_t i = 1; i < expected.size(); ++i) {
        at = GetNextDlgTabItem(form.window(), at, TRUE);
        for (const Form1Control &entry : kForm1Controls) {
            if (control(entry.name) == at)
                backwards.emplace_back(entry.name);
        }
    }
    EXPECT_EQ(std::vector<std::string>(backwards.rbegin(), backwards.rend()), expected);
}

// Return and Space click the focused button; Return in a field and Escape
// do nothing, as there is no default and no cancel button.
struct KeyCase
{
    const char *name;
    const char *focused;
    WPARAM key;
    bool asks; // whether "Create pub" asks for a path
    std::size_t pagesLeft;
};

class Form1Keys : public Form1Test, public ::testing::WithParamInterface<KeyCase>
{
};

TEST_P(Form1Keys, ActOnTheFocusedControlOnly)
{
    drop(control("List1"), {L"C:\\a.png", L"C:\\b.png"});
    focus(GetParam().focused);
    ASSERT_EQ(focusedName(), GetParam().focused);
    press(form, GetParam().key);
    EXPECT_EQ(std::any_of(dialogs.shown.begin(), dialogs.shown.end(),
                          [](const FakeDialogs::Shown &shown) { return shown.kind == "ask"; }),
              GetParam().asks);
    EXPECT_EQ(form.pageCount(), GetParam().pagesLeft);
    EXPECT_NE(form.window(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Keys, Form1Keys,
                         ::testing::Values(KeyCase{"return_on_create_pub", "Command1", VK_RETURN, true, 2},
                                           KeyCase{"space_on_create_pub", "Command1", VK_SPACE, true, 2},
                                           KeyCase{"return_on_clear", "Command3", VK_RETURN, false, 0},
                                           KeyCase{"space_on_clear", "Command3", VK_SPACE, false, 0},
                                           KeyCase{"return_in_a_field", "Text1", VK_RETURN, false, 2},
                                           KeyCase{"escape_in_a_field", "Text1", VK_ESCAPE, false, 2},
                                           KeyCase{"escape_on_exit", "Command2", VK_ESCAPE, false, 2}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Form1Test, ScreenReadersHearTheLabelsAndTheCount)
{
    // The label's caption; the resolution's halves add a word of ours.
    const auto expectedName = [](const Form1Control &field) {
        if (field.name == "Text4")
            return "Resolution (w,h): " + said().text("spoken name", "width");
        if (field.name == "Text5")
            return "Resolution (w,h): " + said().text("spoken name", "height");
        return std::string(field.spokenCaption);
    };
    for (const Form1Control &entry : kForm1Controls) {
        if (entry.kind != ControlKind::TextField)
            continue;
        HWND answeredFor = nullptr;
        EXPECT_EQ(narrow(accessibleName(control(entry.name), &answeredFor)), expectedName(entry))
            << entry.name;
        EXPECT_EQ(answeredFor, control(entry.name)) << entry.name;
    }
    EXPECT_EQ(narrow(accessibleName(control("Command1"))), "Create pub");

    const HWND list = control("List1");
    EXPECT_EQ(narrow(accessibleName(list)), listName(0));
    drop(list, {L"C:\\a.png"});
    EXPECT_EQ(narrow(accessibleName(list)), listName(1));
    drop(list, {L"C:\\b.png", L"C:\\c.png"});
    EXPECT_EQ(narrow(accessibleName(list)), listName(3));
}

TEST_F(Form1Test, DropsAppendInOrderKeepingDuplicatesAndClearEmpties)
{
    const HWND list = control("List1");
    drop(list,
         {L"C:\\Fotos\\playa en Cádiz.jpg", L"C:\\Fotos\\Año nuevo", L"\\\\servidor\\fotos\\日本 ✓.png"});
    drop(list, {L"C:\\Fotos\\playa en Cádiz.jpg"});
    EXPECT_EQ(form.publicationInputs().pages,
              (PageList{"C:\\Fotos\\playa en Cádiz.jpg", "C:\\Fotos\\Año nuevo",
                        "\\\\servidor\\fotos\\日本 ✓.png", "C:\\Fotos\\playa en Cádiz.jpg"}));
    click("Command3");
    EXPECT_EQ(form.pageCount(), 0u);
    click("Command3");
    EXPECT_EQ(form.pageCount(), 0u);
    drop(list, {L"C:\\z.png"});
    EXPECT_EQ(form.publicationInputs().pages, PageList{"C:\\z.png"});
    EXPECT_TRUE(dialogs.shown.empty());
}

std::vector<std::wstring> manyPaths(std::size_t count)
{
    std::vector<std::wstring> paths;
    for (std::size_t i = 0; i < count; ++i)
        paths.push_back(L"C:\\Users\\Zoë\\Pictures\\Viaje a Cádiz\\foto número " + std::to_wstring(i)
                        + L".jpg");
    return paths;
}

TEST_F(Form1Test, HoldsAtMost32767EntriesAndSaysHowManyDidNotFit)
{
    const HWND list = control("List1");
    const auto start = std::chrono::steady_clock::now();
    drop(list, manyPaths(32767));
    const auto took =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("a drop of 32,767 files took %.0f ms\n", took);
    pump(form);
    EXPECT_EQ(form.pageCount(), 32767u);
    EXPECT_TRUE(dialogs.shown.empty());

    drop(list, {L"C:\\one.png", L"C:\\two.png"});
    EXPECT_TRUE(dialogs.shown.empty()); // the message waits for the drop to end
    pump(form);
    EXPECT_EQ(form.pageCount(), 32767u);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, "warn");
    EXPECT_EQ(dialogs.shown[0].title, "Lumvrex");
    EXPECT_EQ(dialogs.shown[0].text, overflowNote("dropped", 2));
    EXPECT_EQ(form.publicationInputs().pages[32766],
              "C:\\Users\\Zoë\\Pictures\\Viaje a Cádiz\\foto número 32766.jpg");
}

TEST_F(Form1Test, CreatePubWritesTheFieldsAndPagesAsTyped)
{
    SetWindowTextW(control("Text1"), L"Mi álbum de fotos");
    SetWindowTextW(control("Text2"), L"16777215");
    SetWindowTextW(control("Text3"), L"not used ✓"); // even what a script cannot hold
    SetWindowTextW(control("Text4"), L"800");
    SetWindowTextW(control("Text5"), L"600");
    SetWindowTextW(control("Text6"), L"C:\\Iconos\\libro.ico");
    drop(control("List1"), {L"C:\\Fotos\\playa en Cádiz.jpg", L"C:\\Fotos\\montaña 2.bmp"});
    TemporaryFolder folder;
    dialogs.answer = utf8FromPath(folder / "Álbum ✓.pub");

    click("Command1");
    // The pictures are not there: the question about them comes first, and
    // Yes goes on as always.
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[0].kind, "confirm");
    dialogs.shown.erase(dialogs.shown.begin());
    EXPECT_EQ(dialogs.shown[0].kind, "ask");
    EXPECT_EQ(dialogs.shown[0].title, "C:\\MyEBook.pub");
    EXPECT_EQ(dialogs.shown[0].text, "Output file:");
    EXPECT_EQ(dialogs.shown[1].kind, "inform");
    EXPECT_EQ(dialogs.shown[1].title, "Lumvrex");
    EXPECT_EQ(dialogs.shown[1].text, "Finished!");
    const auto withoutEffects = [](const std::string &script) {
        std::vector<std::string> kept;
        for (const std::string &line : scriptLines(script)) {
            if (!line.starts_with("PageEffect = "))
                kept.push_back(line);
        }
        return kept;
    };
    EXPECT_EQ(withoutEffects(readWholeFile(folder / "Álbum ✓.pub")),
              withoutEffects(testing::expectedScript("two-pages.pub.txt")));

    // Everything stays for the next run.
    EXPECT_EQ(narrow(textOf(control("Text1"))), "Mi álbum de fotos");
    EXPECT_EQ(form.pageCount(), 2u);
}

TEST_F(Form1Test, CreatePubNamesAFieldAScriptCannotHoldBeforeAskingAnything)
{
    SetWindowTextW(control("Text6"), L"C:\\Iconos\\日本.ico");
    click("Command1");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, "warn");
    EXPECT_NE(dialogs.shown[0].text.find("\"Icon:\""), std::string::npos) << dialogs.shown[0].text;
}

// The path's folder does not exist: the warning names both, with the
// system's reason, all in the user's language; nothing is written.
TEST_F(Form1Test, CreatePubIntoAMissingFolderWarnsWithTheSystemsReason)
{
    drop(control("List1"), {L"C:\\Fotos\\playa en Cádiz.jpg"});
    TemporaryFolder folder;
    const fs::path missing = folder / "Año nuevo";
    const fs::path target = folder / "Año nuevo\\libro ✓.pub";
    dialogs.answer = utf8FromPath(target);
    click("Command1");
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[0].kind, "confirm");
    dialogs.shown.erase(dialogs.shown.begin());
    EXPECT_EQ(dialogs.shown[0].kind, "ask");
    EXPECT_EQ(dialogs.shown[1].kind, "warn");
    EXPECT_EQ(dialogs.shown[1].title, "Lumvrex");
    EXPECT_EQ(dialogs.shown[1].text,
              formatMessage(said().text("write", "Could not create %1$s in the folder %2$s: %3$s."),
                            {'"' + utf8FromPath(target) + '"', '"' + utf8FromPath(missing) + '"',
                             windowsReason(ERROR_PATH_NOT_FOUND)}));
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(form.pageCount(), 1u);
}

// "Ctrl+Left", "Shift+Ins", "Del": one key, with its modifiers.
void keys(Form1 &form, const std::string &sequence)
{
    std::size_t start = 0;
    while (start < sequence.size()) {
        std::size_t end = sequence.find(' ', start);
        if (end == std::string::npos)
            end = sequence.size();
        std::string key = sequence.substr(start, end - start);
        start = end + 1;
        std::vector<int> held;
        for (const auto &[prefix, modifier] :
             {std::pair{"Ctrl+", VK_CONTROL}, std::pair{"Shift+", VK_SHIFT}}) {
            if (const std::size_t at = key.find(prefix); at != std::string::npos) {
                held.push_back(modifier);
                key.erase(at, std::string_view(prefix).size());
            }
        }
        const std::pair<const char *, WPARAM> names[] = {
            {"Del", VK_DELETE}, {"Ins", VK_INSERT}, {"Left", VK_LEFT}, {"Right", VK_RIGHT}, {"Home", VK_HOME},
            {"End", VK_END},    {"Menu", VK_APPS},  {"F10", VK_F10},   {"Z", 'Z'},          {"Y", 'Y'},
            {"V", 'V'},         {"A", 'A'},         {"N", 'N'},        {"O", 'O'},          {"R", 'R'}};
        WPARAM code = 0;
        for (const auto &[name, value] : names) {
            if (key == name)
                code = value;
        }
        ASSERT_NE(code, 0u) << key;
        BYTE state[256] = {};
        GetKeyboardState(state);
        for (const int modifier : held)
            state[modifier] = 0x80;
        SetKeyboardState(state);
        const bool system = code == VK_F10;
        PostMessageW(GetFocus(), system ? WM_SYSKEYDOWN : WM_KEYDOWN, code, 1);
        PostMessageW(GetFocus(), system ? WM_SYSKEYUP : WM_KEYUP, code, 0xC0000001);
        pump(form);
        for (const int modifier : held)
            state[modifier] = 0;
        SetKeyboardState(state);
    }
}

void dropLetters(HWND list, const std::string &letters)
{
    std::vector<std::wstring> paths;
    for (const char letter : letters)
        paths.push_back(L"C:\\p\\" + std::wstring(1, wchar_t(letter)) + L".png");
    drop(list, paths);
}

// The first letter of each page's file name.
std::string lettersOf(const Form1 &form)
{
    std::string letters;
    for (const std::string_view page : form.publicationInputs().pages)
        letters += page.substr(page.rfind('\\') + 1, 1);
    return letters;
}

void putFilesOnClipboard(HWND owner, const std::vector<std::wstring> &paths)
{
    const HGLOBAL memory = dropFilesBlock(paths);
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    if (!paths.empty())
        SetClipboardData(CF_HDROP, memory);
    else
        GlobalFree(memory);
    CloseClipboard();
}

struct ListKeyCase
{
    const char *name;
    int row; // selected first; -1: none
    const char *keys;
    const char *expected;
    int caret; // -1: no selection left
};

class PageListKeys : public Form1Test, public ::testing::WithParamInterface<ListKeyCase>
{
};

TEST_P(PageListKeys, EditTheList)
{
    const HWND list = control("List1");
    dropLetters(list, "abcd");
    focus("List1");
    pump(form);
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    if (GetParam().row >= 0) {
        SendMessageW(list, LB_SETSEL, TRUE, GetParam().row);
        SendMessageW(list, LB_SETCARETINDEX, GetParam().row, FALSE);
    }
    keys(form, GetParam().keys);
    EXPECT_EQ(lettersOf(form), GetParam().expected);
    const LRESULT selected = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    if (GetParam().caret >= 0) {
        EXPECT_EQ(SendMessageW(list, LB_GETCARETINDEX, 0, 0), GetParam().caret);
        EXPECT_EQ(selected, 1);
        EXPECT_GT(SendMessageW(list, LB_GETSEL, GetParam().caret, 0), 0);
    } else {
        EXPECT_EQ(selected, 0);
    }
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), LRESULT(std::string_view(GetParam().expected).size()));
    EXPECT_TRUE(dialogs.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, PageListKeys,
                         ::testing::Values(ListKeyCase{"DeleteSelectsTheNext", 1, "Del", "acd", 1},
                                           ListKeyCase{"CtrlLeft", 2, "Ctrl+Left", "acbd", 1},
                                           ListKeyCase{"CtrlRight", 1, "Ctrl+Right", "acbd", 2},
                                           ListKeyCase{"CtrlHome", 2, "Ctrl+Home", "cabd", 0},
                                           ListKeyCase{"CtrlEnd", 1, "Ctrl+End", "acdb", 3},
                                           ListKeyCase{"CtrlZ", 1, "Del Ctrl+Z", "abcd", 1},
                                           ListKeyCase{"CtrlY", 1, "Del Ctrl+Z Ctrl+Y", "acd", 1},
                                           ListKeyCase{"CtrlShiftZ", 1, "Del Ctrl+Z Ctrl+Shift+Z", "acd", 1},
                                           ListKeyCase{"CtrlA", 1, "Ctrl+A Del", "", -1},
                                           ListKeyCase{"ShiftRightExtends", 0, "Shift+Right Del", "cd", 0},
                                           ListKeyCase{"RightMoves", 0, "Right Right Del", "abd", 2},
                                           ListKeyCase{"End", 0, "End Del", "abc", 2},
                                           ListKeyCase{"Home", 2, "Home Del", "bcd", 0}),
                         [](const auto &info) { return std::string(info.param.name); });

class PageListPaste : public Form1Test, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(PageListPaste, AppendsTheCopiedFilesAsADropDoes)
{
    dropLetters(control("List1"), "a");
    putFilesOnClipboard(form.window(), {L"C:\\p\\x.png", L"C:\\p\\Año nuevo", L"C:\\p\\x.png"});
    focus("List1");
    keys(form, GetParam());
    EXPECT_EQ(form.publicationInputs().pages,
              (PageList{"C:\\p\\a.png", "C:\\p\\x.png", "C:\\p\\Año nuevo", "C:\\p\\x.png"}));
    EXPECT_EQ(SendMessageW(control("List1"), LB_GETCARETINDEX, 0, 0), 1);
    EXPECT_TRUE(dialogs.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, PageListPaste, ::testing::Values("Ctrl+V", "Shift+Ins"), [](const auto &info) {
    return std::string(info.param).substr(0, 4) == "Ctrl" ? "CtrlV" : "ShiftInsert";
});

struct BalloonSearch
{
    HWND owner;
    HWND found = nullptr;
};

BOOL CALLBACK findBalloon(HWND window, LPARAM state)
{
    auto *search = reinterpret_cast<BalloonSearch *>(state);
    if (classOf(window) == TOOLTIPS_CLASSW && GetWindow(window, GW_OWNER) == search->owner) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The tooltip window of the notes, owned by the form.
HWND noteBalloonOf(HWND form)
{
    BalloonSearch search{form};
    EnumThreadWindows(GetCurrentThreadId(), findBalloon, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string balloonText(HWND balloon, HWND tool)
{
    wchar_t text[512] = {};
    TOOLINFOW info = {};
    info.cbSize = sizeof info;
    info.hwnd = tool;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    SendMessageW(balloon, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&info));
    return narrow(text);
}

std::string accessibleDescription(HWND control)
{
    IAccessible *object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void **>(&object))))
        return "(no accessible object)";
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR description = nullptr;
    object->get_accDescription(self, &description);
    std::string result = narrow(description ? description : L"");
    SysFreeString(description);
    object->Release();
    return result;
}

// A note is told once, as it appears: the balloon that shows it is a help
// balloon named by it, which screen readers say as it is shown (a tooltip
// they leave out by default). The same note again is told again; the list
// keeps nothing of it to be read on later visits; the next change takes it
// away.
TEST_F(Form1Test, PasteWithoutFilesSaysSoOnceWithoutABox)
{
    const HWND list = control("List1");
    dropLetters(list, "ab");
    putFilesOnClipboard(form.window(), {});
    focus("List1");
    const HWND balloon = noteBalloonOf(form.window());
    ASSERT_NE(balloon, nullptr);
    const std::string note = said().text("note", "The clipboard holds no files to paste.");
    WinEvents events(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW);
    ASSERT_TRUE(events.hooked());
    for (std::size_t time = 1; time <= 2; ++time) {
        keys(form, "Ctrl+V");
        pump(form);
        EXPECT_EQ(form.pageList().note(), note);
        EXPECT_TRUE(IsWindowVisible(balloon));
        EXPECT_EQ(balloonText(balloon, list), note);
        const std::vector<WinEvents::Seen> shown = events.of(EVENT_OBJECT_SHOW, balloon);
        ASSERT_EQ(shown.size(), time) << "after paste " << time;
        EXPECT_EQ(shown.back().name, note);
        EXPECT_EQ(shown.back().role, ROLE_SYSTEM_HELPBALLOON);
        EXPECT_EQ(accessibleDescription(list), "");
    }
    EXPECT_EQ(lettersOf(form), "ab");
    EXPECT_TRUE(dialogs.shown.empty());
    SendMessageW(list, LB_SETSEL, TRUE, 0);
    SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
    keys(form, "Del");
    pump(form);
    EXPECT_EQ(lettersOf(form), "b");
    EXPECT_EQ(form.pageList().note(), "");
    EXPECT_FALSE(IsWindowVisible(balloon));
    EXPECT_EQ(events.of(EVENT_OBJECT_SHOW, balloon).size(), 2u);
}

// A note left alone goes after about four seconds.
TEST_F(Form1Test, NotesGoByThemselves)
{
    putFilesOnClipboard(form.window(), {});
    focus("List1");
    keys(form, "Ctrl+V");
    const HWND balloon = noteBalloonOf(form.window());
    ASSERT_NE(balloon, nullptr);
    const auto shown = std::chrono::steady_clock::now();
    while (IsWindowVisible(balloon) && std::chrono::steady_clock::now() - shown < std::chrono::seconds(6)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        pump(form);
    }
    const auto lasted = std::chrono::duration<double>(std::chrono::steady_clock::now() - shown).count();
    EXPECT_FALSE(IsWindowVisible(balloon));
    EXPECT_GT(lasted, 3.5);
    EXPECT_LT(lasted, 5.0);
    EXPECT_EQ(form.pageList().note(), "");
}

// The open dialog, on either key, starts in the user's Pictures folder.
class PageListOpenDialogKeys : public Form1Test, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(PageListOpenDialogKeys, AddWhatTheOpenDialogGives)
{
    std::vector<std::wstring> folders;
    form.pageList().setPictureChooser([&](const std::wstring &folder) {
        folders.push_back(folder);
        return std::vector<std::wstring>{L"C:\\Fotos\\2024\\b.png", L"C:\\Fotos\\2024\\a.png"};
    });
    focus("List1");
    keys(form, GetParam());
    EXPECT_EQ(form.publicationInputs().pages, (PageList{"C:\\Fotos\\2024\\b.png", "C:\\Fotos\\2024\\a.png"}));
    ASSERT_EQ(folders.size(), 1u);
    wchar_t pictures[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, pictures);
    EXPECT_EQ(folders[0], pictures);
}

INSTANTIATE_TEST_SUITE_P(Keys, PageListOpenDialogKeys, ::testing::Values("Ins", "Ctrl+O"),
                         [](const auto &info) { return caseName(info.param); });

// Sort by name, Reverse order and Add folder… from their keys, on pages
// added in a scrambled order; the folder chooser starts in the folder of
// the last page.
struct OrderKeyCase
{
    const char *name;
    const char *keys;
    const char *expected;
    bool choosesFolder;
};

class PageListOrderKeys : public Form1Test, public ::testing::WithParamInterface<OrderKeyCase>
{
};

TEST_P(PageListOrderKeys, ReorderOrAddAFolder)
{
    dropLetters(control("List1"), "cadb");
    TemporaryFolder folder;
    testing::writeWholeFile(folder / "e.png", "");
    std::vector<std::wstring> starts;
    form.pageList().setFolderChooser([&](const std::wstring &start) {
        starts.push_back(start);
        return folder.path().wstring();
    });
    focus("List1");
    keys(form, GetParam().keys);
    EXPECT_EQ(lettersOf(form), GetParam().expected);
    EXPECT_EQ(starts,
              GetParam().choosesFolder ? std::vector<std::wstring>{L"C:\\p"} : std::vector<std::wstring>{});
    EXPECT_TRUE(dialogs.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, PageListOrderKeys,
                         ::testing::Values(OrderKeyCase{"SortByName", "Ctrl+Shift+N", "abcd", false},
                                           OrderKeyCase{"SortUndone", "Ctrl+Shift+N Ctrl+Z", "cadb", false},
                                           OrderKeyCase{"Reverse", "Ctrl+Shift+R", "bdac", false},
                                           OrderKeyCase{"AddFolder", "Ctrl+Shift+O", "cadbe", true}),
                         [](const auto &info) { return std::string(info.param.name); });

// The context menu, read and answered from inside its modal loop by a
// timer of this thread.
class MenuReader
{
public:
    explicit MenuReader(wchar_t accessKey)
        : m_accessKey(accessKey)
    {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 50, tick);
    }
    ~MenuReader()
    {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    MenuReader(const MenuReader &) = delete;
    MenuReader &operator=(const MenuReader &) = delete;

    std::vector<std::string> items; // "-" before a disabled one
    std::string active;             // the item made active, if any

private:
    static BOOL CALLBACK findMenu(HWND window, LPARAM found)
    {
        if (IsWindowVisible(window) && classOf(window) == L"#32768") {
            *reinterpret_cast<HWND *>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND window = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), findMenu, reinterpret_cast<LPARAM>(&window));
        MenuReader *self = s_current;
        if (!window || !self || self->m_done)
            return;
        self->m_done = true;
        const auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
        for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
            wchar_t caption[128] = {};
            MENUITEMINFOW info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
            info.dwTypeData = caption;
            info.cch = 128;
            GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
            if (info.fType & MFT_SEPARATOR)
                continue;
            self->items.push_back(((info.fState & MFS_DISABLED) ? "-" : "") + narrow(caption));
            if (info.fState & MFS_HILITE)
                self->active = self->items.back();
        }
        if (self->m_accessKey)
            PostMessageW(window, WM_CHAR, self->m_accessKey, 0);
        else
            EndMenu();
    }

    static inline MenuReader *s_current = nullptr;
    wchar_t m_accessKey;
    bool m_done = false;
    UINT_PTR m_timer;
};

struct MenuOpening
{
    const char *name;
    const char *keys; // empty: a right click on the second entry
};

class PageListMenu : public Form1Test, public ::testing::WithParamInterface<MenuOpening>
{
};

TEST_P(PageListMenu, OpensWithItsItemsEnabledWhereTheyCanAct)
{
    const HWND list = control("List1");
    dropLetters(list, "abc");
    putFilesOnClipboard(form.window(), {});
    focus("List1");
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    SendMessageW(list, LB_SETSEL, TRUE, 0);
    SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
    WinEvents events(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS);
    MenuReader reader(0);
    if (*GetParam().keys) {
        keys(form, GetParam().keys);
    } else {
        RECT cell = {};
        SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&cell));
        POINT at = {cell.left + 3, cell.top + 3};
        ClientToScreen(list, &at);
        SendMessageW(list, WM_CONTEXTMENU, WPARAM(list), MAKELPARAM(at.x, at.y));
    }
    // With the first entry selected it cannot move left; from the mouse the
    // second one is.
    const std::string left = (*GetParam().keys ? "-" : "") + menuItem("Move &left", "Ctrl+Left");
    EXPECT_EQ(reader.items,
              (std::vector<std::string>{
                  menuItem("&Add pictures", "Ctrl+O", "…"), menuItem("Add &folder", "Ctrl+Shift+O", "…"),
                  "-" + menuItem("&Paste", "Ctrl+V"), menuItem("&Remove", "Delete"), left,
                  menuItem("Move r&ight", "Ctrl+Right"), menuItem("&Sort by name", "Ctrl+Shift+N"),
                  menuItem("Re&verse order", "Ctrl+Shift+R"), menuItem("&Undo", "Ctrl+Z"),
                  "-" + menuItem("Re&do", "Ctrl+Y"), menuItem("&Clear", "Ctrl+Shift+Delete")}));
    // Alt and a letter reaches one item alone.
    std::set<wchar_t> accessKeys;
    for (const std::string &item : reader.items) {
        EXPECT_EQ(std::count(item.begin(), item.end(), '&'), 1) << item;
        EXPECT_TRUE(accessKeys.insert(accessKeyOf(item)).second) << item;
    }
    // From the keyboard the first item is active at once, so that a screen
    // reader says it; from the mouse none is.
    EXPECT_EQ(reader.active, *GetParam().keys ? reader.items.front() : "");
    EXPECT_EQ(lettersOf(form), "abc");
    // Once the menu is gone, the entry that has the focus is told again.
    pump(form);
    ASSERT_FALSE(events.seen.empty());
    const WinEvents::Seen &last = events.seen.back();
    EXPECT_EQ(last.window, list);
    const int caret = *GetParam().keys ? 0 : 1;
    EXPECT_EQ(last.child, caret + 1);
    EXPECT_EQ(last.name,
              formatMessage(said().text("spoken name", "page %1$s of %2$s, %3$s"),
                            {std::to_string(caret + 1), "3", std::string(1, "abc"[caret]) + ".png"}));
}

INSTANTIATE_TEST_SUITE_P(Ways, PageListMenu,
                         ::testing::Values(MenuOpening{"MenuKey", "Menu"},
                                           MenuOpening{"ShiftF10", "Shift+F10"},
                                           MenuOpening{"RightClick", ""}),
                         [](const auto &info) { return std::string(info.param.name); });

// A full list can take nothing more: the first item that can act is
// further down, past the disabled ones, and it is the active one.
TEST_F(Form1Test, PageListMenuFromTheKeyboardOpensOnItsFirstEnabledItem)
{
    const HWND list = control("List1");
    drop(list, manyPaths(32767));
    focus("List1");
    SendMessageW(list, LB_SETSEL, TRUE, 0);
    SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
    MenuReader reader(0);
    keys(form, "Menu");
    ASSERT_GE(reader.items.size(), 4u);
    EXPECT_EQ(reader.items[0].front(), '-');
    EXPECT_EQ(reader.items[1].front(), '-');
    EXPECT_EQ(reader.active, menuItem("&Remove", "Delete"));
}

struct MenuItemCase
{
    const char *name;
    const char *caption; // whose access key is typed, as the catalogue has it
    const char *before;
    const char *expected;
};

class PageListMenuItems : public Form1Test, public ::testing::WithParamInterface<MenuItemCase>
{
};

TEST_P(PageListMenuItems, DoWhatTheyNameAsTheirKeysDo)
{
    const HWND list = control("List1");
    dropLetters(list, "cab");
    putFilesOnClipboard(form.window(), {L"C:\\p\\y.png"});
    form.pageList().setPictureChooser(
        [](const std::wstring &) { return std::vector<std::wstring>{L"C:\\p\\z.png"}; });
    // A folder whose pictures come in name order.
    TemporaryFolder folder;
    for (const char *name : {"e.png", "d.JPG", "notes.txt"})
        testing::writeWholeFile(folder / name, "");
    form.pageList().setFolderChooser([&](const std::wstring &) { return folder.path().wstring(); });
    focus("List1");
    SendMessageW(list, LB_SETSEL, FALSE, -1);
    SendMessageW(list, LB_SETSEL, TRUE, 1);
    SendMessageW(list, LB_SETCARETINDEX, 1, FALSE);
    keys(form, GetParam().before);
    {
        MenuReader reader(accessKeyOf(said().text("page menu", GetParam().caption)));
        keys(form, "Menu");
        EXPECT_EQ(reader.items.size(), 11u);
    }
    pump(form);
    EXPECT_EQ(lettersOf(form), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Items, PageListMenuItems,
                         ::testing::Values(MenuItemCase{"AddPictures", "&Add pictures", "", "cabz"},
                                           MenuItemCase{"AddFolder", "Add &folder", "", "cabde"},
                                           MenuItemCase{"Paste", "&Paste", "", "caby"},
                                           MenuItemCase{"Remove", "&Remove", "", "cb"},
                                           MenuItemCase{"SortByName", "&Sort by name", "", "abc"},
                                           MenuItemCase{"Reverse", "Re&verse order", "", "bac"},
                                           MenuItemCase{"Redo", "Re&do", "Del Ctrl+Z", "cb"},
                                           MenuItemCase{"Clear", "&Clear", "", ""}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Form1Test, ScreenReadersHearEachEntryAsItsPage)
{
    drop(control("List1"), {L"C:\\Fotos\\uno.jpg", L"C:\\Fotos\\playa en Cádiz.jpg", L"C:\\Fotos\\tres.jpg"});
    IAccessible *object = nullptr;
    ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(control("List1"), OBJID_CLIENT, __uuidof(IAccessible),
                                                     reinterpret_cast<void **>(&object))));
    long children = 0;
    object->get_accChildCount(&children);
    EXPECT_EQ(children, 3);
    VARIANT second = {};
    second.vt = VT_I4;
    second.lVal = 2;
    BSTR name = nullptr;
    BSTR description = nullptr;
    ASSERT_TRUE(SUCCEEDED(object->get_accName(second, &name)));
    ASSERT_TRUE(SUCCEEDED(object->get_accDescription(second, &description)));
    EXPECT_EQ(narrow(name ? name : L""),
              formatMessage(said().text("spoken name", "page %1$s of %2$s, %3$s"),
                            {"2", "3", "playa en Cádiz.jpg"}));
    // The name alone: a description would be read after it on every arrow key.
    EXPECT_EQ(narrow(description ? description : L""), "");
    SysFreeString(name);
    SysFreeString(description);
    object->Release();
}

class Form1Closing : public Form1Test, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(Form1Closing, EndsTheApplicationAtOnce)
{
    SetWindowTextW(control("Text1"), L"unsaved");
    if (std::string_view(GetParam()) == "exit")
        click("Command2");
    else
        SendMessageW(form.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(form.window(), nullptr);
    EXPECT_TRUE(dialogs.shown.empty());
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

INSTANTIATE_TEST_SUITE_P(Ways, Form1Closing, ::testing::Values("exit", "close_box"));

// Windows' own dialogs, answered from inside their modal loops by a timer
// of this thread: each answer in turn for the next dialog that appears.
class DialogAnswerer
{
public:
    using Answer = std::function<void(HWND dialog)>;

    explicit DialogAnswerer(Answer answer)
        : DialogAnswerer(std::vector<Answer>{std::move(answer)})
    { }
    explicit DialogAnswerer(std::vector<Answer> answers)
        : m_answers(std::move(answers))
    {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 50, tick);
    }
    ~DialogAnswerer()
    {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    DialogAnswerer(const DialogAnswerer &) = delete;
    DialogAnswerer &operator=(const DialogAnswerer &) = delete;

    // How many dialogs were answered.
    std::size_t answered() const { return m_next; }

private:
    static BOOL CALLBACK findDialog(HWND window, LPARAM found)
    {
        if (IsWindowVisible(window) && classOf(window) == L"#32770") {
            *reinterpret_cast<HWND *>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
        DialogAnswerer *self = s_current;
        // A dialog answered may still be there until its loop ends.
        if (!dialog || !self || dialog == self->m_last || self->m_next >= self->m_answers.size())
            return;
        self->m_last = dialog;
        self->m_answers[self->m_next++](dialog);
    }

    static inline DialogAnswerer *s_current = nullptr;
    std::vector<Answer> m_answers;
    std::size_t m_next = 0;
    HWND m_last = nullptr;
    UINT_PTR m_timer;
};

struct DialogContents
{
    std::wstring title;
    std::vector<std::wstring> buttons; // visible ones, in z-order
    std::vector<std::wstring> texts;   // of the visible static controls that are not icons
    std::vector<HWND> edits;
    bool icon = false;
    int width = 0;
};

DialogContents contentsOf(HWND dialog)
{
    DialogContents contents;
    contents.title = textOf(dialog);
    RECT client = {};
    GetClientRect(dialog, &client);
    contents.width = client.right;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        const std::wstring kind = classOf(child);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        if (CompareStringOrdinal(kind.c_str(), -1, L"Button", -1, TRUE) == CSTR_EQUAL)
            contents.buttons.push_back(textOf(child));
        else if (CompareStringOrdinal(kind.c_str(), -1, L"Edit", -1, TRUE) == CSTR_EQUAL)
            contents.edits.push_back(child);
        else if ((style & SS_TYPEMASK) == SS_ICON)
            contents.icon = contents.icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
        else if (!textOf(child).empty())
            contents.texts.push_back(textOf(child));
    }
    return contents;
}

void clickButton(HWND dialog, const std::wstring &caption)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (textOf(child) == caption) {
            SendMessageW(child, BM_CLICK, 0, 0);
            return;
        }
    }
    ADD_FAILURE() << "no button " << narrow(caption);
    EndDialog(dialog, IDCANCEL);
}

// A message box's own button, whatever Windows calls it in its language.
void clickOk(HWND dialog)
{
    if (const HWND ok = GetDlgItem(dialog, IDOK)) {
        SendMessageW(ok, BM_CLICK, 0, 0);
        return;
    }
    ADD_FAILURE() << "no OK button";
    EndDialog(dialog, IDCANCEL);
}

class WindowsDialogs : public ::testing::TestWithParam<bool>
{
};

TEST_P(WindowsDialogs, AskForAPathWithAnEmptyAnswerAndOkOrCancel)
{
    const bool ok = GetParam();
    Win32Dialogs windowsDialogs(nullptr);
    DialogContents seen;
    std::wstring answerAtStart = L"(not seen)";
    DialogAnswerer answerer([&](HWND dialog) {
        seen = contentsOf(dialog);
        if (seen.edits.size() != 1) {
            EndDialog(dialog, IDCANCEL);
            return;
        }
        answerAtStart = textOf(seen.edits[0]);
        SetWindowTextW(seen.edits[0], L"C:\\Libros\\Año nuevo ✓.pub");
        clickButton(dialog, wideFromUtf8(said().text("dialog button", ok ? "OK" : "Cancel")));
    });
    const std::optional<std::string> answer = windowsDialogs.askText("C:\\MyEBook.pub", "Output file:");
    EXPECT_EQ(narrow(seen.title), "C:\\MyEBook.pub");
    EXPECT_EQ(seen.texts, std::vector<std::wstring>{L"Output file:"});
    EXPECT_EQ(seen.buttons,
              (std::vector<std::wstring>{wideFromUtf8(said().text("dialog button", "OK")),
                                         wideFromUtf8(said().text("dialog button", "Cancel"))}));
    EXPECT_EQ(answerAtStart, L"");
    EXPECT_GE(seen.width, 400) << "too narrow for a path";
    if (ok) {
        EXPECT_EQ(answer, std::optional<std::string>("C:\\Libros\\Año nuevo ✓.pub"));
    } else {
        EXPECT_EQ(answer, std::nullopt);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, WindowsDialogs, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "ok" : "cancel"; });

struct MessageCase
{
    const char *name;
    bool warning;
};

class WindowsMessages : public ::testing::TestWithParam<MessageCase>
{
};

TEST_P(WindowsMessages, HaveOnlyAnOkButton)
{
    Win32Dialogs windowsDialogs(nullptr);
    DialogContents seen;
    DialogAnswerer answerer([&](HWND dialog) {
        seen = contentsOf(dialog);
        clickOk(dialog);
    });
    if (GetParam().warning)
        windowsDialogs.warn("Lumvrex", "Could not write \"C:\\Año\\book.pub\": Access denied.");
    else
        windowsDialogs.inform("Lumvrex", "Finished!");
    EXPECT_EQ(narrow(seen.title), "Lumvrex");
    // Windows names the button in its own language.
    EXPECT_EQ(seen.buttons.size(), 1u);
    EXPECT_EQ(seen.texts,
              std::vector<std::wstring>{GetParam().warning
                                            ? L"Could not write \"C:\\Año\\book.pub\": Access denied."
                                            : L"Finished!"});
    EXPECT_EQ(seen.icon, GetParam().warning);
}

INSTANTIATE_TEST_SUITE_P(Kinds, WindowsMessages,
                         ::testing::Values(MessageCase{"finished", false}, MessageCase{"warning", true}),
                         [](const auto &info) { return std::string(info.param.name); });

// Insert with no chooser of the test's: Windows' open dialog, with the
// title and the file types' names in the user's language.
TEST_F(Form1Test, InsertShowsTheOpenDialogWithItsTitleAndFileTypes)
{
    DialogContents seen;
    std::vector<std::wstring> types;
    DialogAnswerer answerer([&](HWND dialog) {
        seen = contentsOf(dialog);
        if (const HWND list = GetDlgItem(dialog, cmb1)) {
            for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
                std::wstring name(static_cast<std::size_t>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0)) + 1,
                                  L'\0');
                name.resize(static_cast<std::size_t>(std::max<LRESULT>(
                    0, SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name.data())))));
                types.push_back(name);
            }
        }
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    focus("List1");
    keys(form, "Ins");
    EXPECT_EQ(narrow(seen.title), said().text("open dialog", "Add pictures"));
    EXPECT_EQ(types,
              (std::vector<std::wstring>{wideFromUtf8(said().text("open dialog", "Pictures")),
                                         wideFromUtf8(said().text("open dialog", "All files"))}));
    EXPECT_EQ(form.pageCount(), 0u);
    EXPECT_TRUE(dialogs.shown.empty());
}

// Ctrl+Shift+O with no chooser of the test's: Windows' folder chooser in its
// newer, resizable form with a button for a new folder, its title in the
// user's language, starting in the folder of the last page. OK at once adds
// that folder's pictures in name order and tells what was left out; the
// focus is back on the list.
TEST_F(Form1Test, AddFolderShowsWindowsFolderChooserInTheLastPagesFolder)
{
    TemporaryFolder folder;
    for (const char *name : {"b.png", "a.jpg", "notas.txt"})
        testing::writeWholeFile(folder / name, "");
    drop(control("List1"), {(folder / "b.png").wstring()});
    DialogContents seen;
    DWORD style = 0;
    DialogAnswerer answerer([&](HWND dialog) {
        seen = contentsOf(dialog);
        style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
        clickOk(dialog);
    });
    focus("List1");
    keys(form, "Ctrl+Shift+O");
    pump(form);
    ASSERT_EQ(answerer.answered(), 1u);
    EXPECT_EQ(seen.texts, std::vector<std::wstring>{wideFromUtf8(addFolderTitle())});
    EXPECT_EQ(seen.buttons.size(), 3u) << "no button for a new folder";
    EXPECT_TRUE(style & WS_THICKFRAME) << "not the resizable chooser";
    EXPECT_EQ(lettersOf(form), "bab");
    FolderPictures leftOut;
    leftOut.pictures = {"a.jpg", "b.png"};
    leftOut.otherFiles = 1;
    EXPECT_EQ(form.pageList().note(), folderPicturesNote(utf8FromPath(folder.path()), leftOut));
    EXPECT_EQ(focusedName(), "List1");
    EXPECT_TRUE(dialogs.shown.empty());
}

std::vector<int> selectedRows(HWND list)
{
    std::vector<int> rows(
        static_cast<std::size_t>(std::max<LRESULT>(0, SendMessageW(list, LB_GETSELCOUNT, 0, 0))));
    SendMessageW(list, LB_GETSELITEMS, rows.size(), reinterpret_cast<LPARAM>(rows.data()));
    return rows;
}

// Pages that name no picture, asked about as Windows asks: a message box of
// the window's with the question mark, Yes and No, No the default. Yes goes
// on to the path; No selects those pages and asks nothing more. Either way
// the focus is back on "Create pub".
class MissingPicturesQuestion : public Form1Test, public ::testing::WithParamInterface<bool>
{
};

TEST_P(MissingPicturesQuestion, IsAYesNoMessageBoxWithNoTheDefault)
{
    const bool yes = GetParam();
    form.setDialogs(nullptr); // Windows' own
    const HWND list = control("List1");
    TemporaryFolder folder;
    testing::writeWholeFile(folder / "hay.png", "");
    drop(list, {L"C:\\no\\uno.png", (folder / "hay.png").wstring(), L"C:\\no\\dos.png"});
    const std::vector<int> selectedBefore = selectedRows(list);
    DialogContents question;
    HWND owner = nullptr;
    bool noFocused = false; // the default
    std::wstring next;
    DialogAnswerer answerer({[&](HWND dialog) {
                                 question = contentsOf(dialog);
                                 owner = GetWindow(dialog, GW_OWNER);
                                 noFocused = GetFocus() == GetDlgItem(dialog, IDNO);
                                 SendMessageW(GetDlgItem(dialog, yes ? IDYES : IDNO), BM_CLICK, 0, 0);
                             },
                             [&](HWND dialog) {
                                 next = textOf(dialog);
                                 PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                             }});
    focus("Command1");
    press(form, VK_RETURN);
    pump(form);
    const std::vector<std::string> &entries = form.pageList().editor().entries();
    EXPECT_EQ(narrow(question.title), "Lumvrex");
    EXPECT_EQ(
        question.texts,
        std::vector<std::wstring>{wideFromUtf8(missingPicturesQuestion(entries, missingPictures(entries)))});
    EXPECT_TRUE(question.icon);
    EXPECT_EQ(question.buttons.size(), 2u);
    EXPECT_EQ(owner, form.window());
    // Return and Space press the focused button.
    EXPECT_TRUE(noFocused);
    EXPECT_EQ(answerer.answered(), yes ? 2u : 1u);
    EXPECT_EQ(next, yes ? L"C:\\MyEBook.pub" : L"");
    EXPECT_EQ(selectedRows(list), yes ? selectedBefore : (std::vector<int>{0, 2}));
    EXPECT_EQ(form.pageCount(), 3u);
    EXPECT_EQ(focusedName(), "Command1");
}

INSTANTIATE_TEST_SUITE_P(Answers, MissingPicturesQuestion, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "yes" : "no"; });

// Only in a Spanish session (scripts/test-windows; CTest leaves it out),
// where the rest of the suite then expects the catalogue's Spanish: the
// session must be one, and Windows' reasons must read Spanish in it too.
TEST(SpanishSession, IsSpanishForLumvrexAndForWindows)
{
    ASSERT_TRUE(sessionIsSpanish()) << "the session's language is " << GetUserDefaultUILanguage();
    EXPECT_EQ(localized("page menu", "&Clear"), said().text("page menu", "&Clear"));
    EXPECT_NE(said().text("page menu", "&Clear"), "&Clear");
    const std::string reason = windowsReason(ERROR_PATH_NOT_FOUND);
    const std::string english =
        windowsReason(ERROR_PATH_NOT_FOUND, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    std::printf("Windows' reason for a missing folder: \"%s\" (in English \"%s\")\n", reason.c_str(),
                english.c_str());
    EXPECT_EQ(reason, windowsReason(ERROR_PATH_NOT_FOUND, MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN)));
    EXPECT_NE(reason, english);
}

// lumvrex.exe itself: its version record, icon and manifest.
std::wstring versionString(const std::vector<char> &record, const wchar_t *name)
{
    wchar_t *value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\0c0a04e4\\") + name;
    if (!VerQueryValueW(record.data(), key.c_str(), reinterpret_cast<void **>(&value), &length) || !value)
        return L"(missing)";
    return value;
}

TEST(LumvrexExe, CarriesItsVersionRecordIconAndManifest)
{
    const fs::path program = pathFromUtf8(LUMVREX_WINDOW_EXE);
    DWORD ignored = 0;
    std::vector<char> record(GetFileVersionInfoSizeW(program.c_str(), &ignored));
    ASSERT_FALSE(record.empty()) << "no version record in " << program.string();
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, DWORD(record.size()), record.data()));
    struct Translation
    {
        WORD language;
        WORD codePage;
    } *translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void **>(&translation), &length));
    ASSERT_EQ(length, sizeof(Translation));
    EXPECT_EQ(translation->language, 0x0C0A); // Spanish (Spain)
    EXPECT_EQ(translation->codePage, 1252);
    EXPECT_EQ(versionString(record, L"FileVersion"), L"1.00");
    EXPECT_EQ(versionString(record, L"ProductVersion"), L"1.00");
    EXPECT_EQ(versionString(record, L"ProductName"), L"Lumvrex");
    EXPECT_EQ(versionString(record, L"InternalName"), L"Lumvrex");
    EXPECT_EQ(versionString(record, L"FileDescription"),
              L"This program enables you create easy e-books with NeoBook(R)");

    const HMODULE image = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    // The icon: 32 × 32 in 256 colours.
    const HRSRC group = FindResourceW(image, L"IDI_ICON1", MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto *directory = static_cast<const BYTE *>(LockResource(LoadResource(image, group)));
    ASSERT_NE(directory, nullptr);
    EXPECT_EQ(directory[6], 32); // width
    EXPECT_EQ(directory[7], 32); // height
    EXPECT_EQ(directory[12], 8); // bits per pixel
    // The manifest: per-monitor DPI awareness and the current common controls.
    const HRSRC manifest = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char *>(LockResource(LoadResource(image, manifest))),
                           SizeofResource(image, manifest));
    EXPECT_NE(text.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(text.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm"),
              std::string::npos);
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    FreeLibrary(image);
}

} // namespace
} // namespace lumvrex

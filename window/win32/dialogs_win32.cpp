#include "window/win32/dialogs_win32.h"

#include "i18n/messages.h"
#include "runtime/system.h"

#include <cstdint>
#include <vector>

namespace lumvrex {
namespace {

enum : WORD { kPromptId = 100, kAnswerId = 101 };

// A dialog template built in memory, so that the dialog needs no resource
// in the program that shows it.
class DialogTemplate
{
public:
    DialogTemplate(DWORD style, short width, short height, std::wstring_view title)
    {
        DLGTEMPLATE header = {};
        header.style = style | DS_SETFONT;
        header.cx = width;
        header.cy = height;
        append(header);
        appendWord(0); // no menu
        appendWord(0); // the dialog class
        appendText(title);
        // With DS_SHELLFONT, "MS Shell Dlg" is the shell's dialog font.
        appendWord(8);
        appendText(L"MS Shell Dlg");
    }

    void addItem(WORD systemClass, DWORD style, short x, short y, short width, short height, WORD id,
                 std::wstring_view text)
    {
        m_words.resize((m_words.size() + 1) / 2 * 2); // items start on a DWORD
        DLGITEMTEMPLATE item = {};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = width;
        item.cy = height;
        item.id = id;
        append(item);
        appendWord(0xFFFF);
        appendWord(systemClass);
        appendText(text);
        appendWord(0); // no creation data
        ++itemCount();
    }

    const DLGTEMPLATE *get() const { return reinterpret_cast<const DLGTEMPLATE *>(m_words.data()); }

private:
    template <typename Part> void append(const Part &part)
    {
        static_assert(sizeof(Part) % sizeof(WORD) == 0);
        const auto *words = reinterpret_cast<const WORD *>(&part);
        m_words.insert(m_words.end(), words, words + sizeof(Part) / sizeof(WORD));
    }
    void appendWord(WORD word) { m_words.push_back(word); }
    void appendText(std::wstring_view text)
    {
        m_words.insert(m_words.end(), text.begin(), text.end());
        m_words.push_back(0);
    }
    WORD &itemCount() { return reinterpret_cast<DLGTEMPLATE *>(m_words.data())->cdit; }

    // WORDs keep the template's alignment; DWORD-aligned by the allocator.
    std::vector<WORD> m_words;
};

enum : WORD { kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082 };

struct Question
{
    std::wstring answer;
};

INT_PTR CALLBACK questionProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const HWND answer = GetDlgItem(dialog, kAnswerId);
        // As long as the longest path Windows takes.
        SendMessageW(answer, EM_SETLIMITTEXT, 32767, 0);
        SetFocus(answer);
        return FALSE; // the focus is set
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto *question = reinterpret_cast<Question *>(GetWindowLongPtrW(dialog, DWLP_USER));
            const HWND answer = GetDlgItem(dialog, kAnswerId);
            question->answer.resize(static_cast<std::size_t>(GetWindowTextLengthW(answer)) + 1);
            const int length =
                GetWindowTextW(answer, question->answer.data(), static_cast<int>(question->answer.size()));
            question->answer.resize(static_cast<std::size_t>(std::max(length, 0)));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

Win32Dialogs::Win32Dialogs(HWND owner)
    : m_owner(owner)
{ }

std::optional<std::string> Win32Dialogs::askText(std::string_view title, std::string_view prompt)
{
    // The prompt at the top left, OK and Cancel to its right, the answer
    // across the bottom: 290 dialog units take a path of some 70 characters
    // in view.
    DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_FIXEDSYS, 290,
                          80, wideFromUtf8(title));
    dialog.addItem(kEdit, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 7, 59, 276, 13, kAnswerId, L"");
    dialog.addItem(kButton, WS_TABSTOP | BS_DEFPUSHBUTTON, 233, 7, 50, 14, IDOK,
                   wideFromUtf8(localized("dialog button", "OK")));
    dialog.addItem(kButton, WS_TABSTOP | BS_PUSHBUTTON, 233, 25, 50, 14, IDCANCEL,
                   wideFromUtf8(localized("dialog button", "Cancel")));
    dialog.addItem(kStatic, SS_LEFT | SS_NOPREFIX, 7, 7, 218, 44, kPromptId, wideFromUtf8(prompt));

    Question question;
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), m_owner,
                                                   questionProcedure, reinterpret_cast<LPARAM>(&question));
    if (result != IDOK)
        return std::nullopt;
    return utf8FromWide(question.answer);
}

void Win32Dialogs::inform(std::string_view title, std::string_view text)
{
    MessageBoxW(m_owner, wideFromUtf8(text).c_str(), wideFromUtf8(title).c_str(), MB_OK);
}

void Win32Dialogs::warn(std::string_view title, std::string_view text)
{
    MessageBoxW(m_owner, wideFromUtf8(text).c_str(), wideFromUtf8(title).c_str(), MB_OK | MB_ICONWARNING);
}

bool Win32Dialogs::confirm(std::string_view title, std::string_view question)
{
    // No is the default: Return keeps things as they are.
    return MessageBoxW(m_owner, wideFromUtf8(question).c_str(), wideFromUtf8(title).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
        == IDYES;
}

} // namespace lumvrex

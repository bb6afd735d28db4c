#pragma once

#include "publication/publication_inputs.h"
#include "window/form1_layout.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

namespace lumvrex {

class Dialogs;
class PageEffectSource;
class PageListBox;

// The main window, built with Windows' own controls from the layout table:
// the fields of a publication, the page list, and the buttons "Create pub",
// "Exit" and "Clear". Kept out of the task bar by a hidden owner window.
class Form1
{
public:
    // Creates the window, hidden, laid out for the monitor it opens on.
    explicit Form1(HINSTANCE instance);
    ~Form1();
    Form1(const Form1 &) = delete;
    Form1 &operator=(const Form1 &) = delete;

    // nullptr once the window is closed.
    HWND window() const { return m_window; }
    // The control made for a row of kForm1Controls.
    HWND control(const Form1Control &entry) const;

    // Shows the window with the focus on "Create pub".
    void show(int showCommand);
    // Hands keys meant for the controls to the dialog manager: Tab and
    // Shift+Tab, arrows, Return and Space on a focused button.
    bool translate(MSG &message);

    // Tests replace the dialogs and the effect source; the window keeps
    // using its own otherwise. Neither is owned.
    void setDialogs(Dialogs *dialogs);
    void setEffectSource(PageEffectSource *effects);

    PublicationInputs publicationInputs() const;
    std::size_t pageCount() const;

    // Places every control for the given dots per inch (twips × dpi / 1440)
    // and sizes the window around them.
    void layOut(UINT dpi);

    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    static constexpr DWORD kExtendedStyle = 0;
    // Posted to the window when the page list has a warning to show, once
    // the drop or command that caused it has ended.
    static constexpr UINT kPageListWarning = WM_APP + 1;

    PageListBox &pageList() const { return *m_pages; }

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls(HINSTANCE instance);
    void setTabOrder();
    void nameControls();
    std::string fieldText(const Form1Control &entry) const;
    void clicked(const Form1Control &entry);
    void createPublicationClicked();
    void showPageListWarnings();

    HWND m_owner = nullptr;
    HWND m_window = nullptr;
    std::array<HWND, kForm1Controls.size()> m_controls = {};
    HFONT m_font = nullptr;
    std::unique_ptr<PageListBox> m_pages;
    std::vector<std::string> m_pendingWarnings;
    std::unique_ptr<Dialogs> m_ownDialogs;
    std::unique_ptr<PageEffectSource> m_ownEffects;
    Dialogs *m_dialogs = nullptr;
    PageEffectSource *m_effects = nullptr;
};

// Runs the window's message loop until the window is closed; returns the
// exit code.
int runForm1(Form1 &form);

} // namespace lumvrex

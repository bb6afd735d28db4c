#include "window/win32/accessible_name.h"

#include <commctrl.h>
#include <oleacc.h>

namespace lumvrex {
namespace {

// The system's own accessible object of a control, with another name (and
// role, where given) for the control itself and the items' texts where
// given; everything else is the system's.
class NamedAccessible final : public IAccessible, public IOleWindow
{
public:
    NamedAccessible(IAccessible *standard, HWND window, std::wstring name, ItemTexts items, long role)
        : m_standard(standard)
        , m_window(window)
        , m_name(std::move(name))
        , m_items(std::move(items))
        , m_role(role)
    {
        m_standard->AddRef();
    }
    NamedAccessible(const NamedAccessible &) = delete;
    NamedAccessible &operator=(const NamedAccessible &) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        if (!object)
            return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible))
            *object = static_cast<IAccessible *>(this);
        else if (id == __uuidof(IOleWindow))
            *object = static_cast<IOleWindow *>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IOleWindow, through which a client finds the control's window.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND *window) override
    {
        if (!window)
            return E_POINTER;
        *window = m_window;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible: the name of the control itself is ours.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override
    {
        if (child.vt != VT_I4)
            return m_standard->get_accName(child, name);
        if (child.lVal == CHILDID_SELF)
            return answer(m_name, name);
        if (m_items.item)
            return answer(m_items.item(child.lVal, false), name);
        return m_standard->get_accName(child, name);
    }

    // IDispatch and the rest of IAccessible: the system's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        return m_standard->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override
    {
        return m_standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR *names, UINT count, LCID locale,
                                            DISPID *ids) override
    {
        return m_standard->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS *parameters, VARIANT *result, EXCEPINFO *exception,
                                     UINT *argumentError) override
    {
        return m_standard->Invoke(member, id, locale, flags, parameters, result, exception, argumentError);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        return m_standard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override
    {
        if (!m_items.count)
            return m_standard->get_accChildCount(count);
        if (!count)
            return E_POINTER;
        *count = m_items.count();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override
    {
        return m_standard->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override
    {
        return m_standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override
    {
        if (child.vt == VT_I4 && child.lVal != CHILDID_SELF && m_items.item)
            return answer(m_items.item(child.lVal, true), description);
        return m_standard->get_accDescription(child, description);
    }
    // Items the system may not know (a list without data): ours.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        const bool self = child.vt == VT_I4 && child.lVal == CHILDID_SELF;
        if (!isItem(child) && !(self && m_role != 0))
            return m_standard->get_accRole(child, role);
        if (!role)
            return E_POINTER;
        role->vt = VT_I4;
        role->lVal = self ? m_role : ROLE_SYSTEM_LISTITEM;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        if (!isItem(child) || !m_items.state)
            return m_standard->get_accState(child, state);
        if (!state)
            return E_POINTER;
        state->vt = VT_I4;
        state->lVal = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE | m_items.state(child.lVal);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override
    {
        return m_standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, long *topic) override
    {
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override
    {
        return m_standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override
    {
        return m_standard->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override
    {
        return m_standard->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override
    {
        return m_standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return m_standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height,
                                          VARIANT child) override
    {
        return m_standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override
    {
        return m_standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT *child) override
    {
        return m_standard->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return m_standard->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return m_standard->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return m_standard->put_accValue(child, value);
    }

private:
    ~NamedAccessible() { m_standard->Release(); }

    bool isItem(const VARIANT &child) const
    {
        return m_items.count && child.vt == VT_I4 && child.lVal >= 1 && child.lVal <= m_items.count();
    }

    static HRESULT answer(const std::wstring &text, BSTR *to)
    {
        if (!to)
            return E_POINTER;
        *to = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *to ? S_OK : E_OUTOFMEMORY;
    }

    IAccessible *m_standard;
    HWND m_window;
    std::wstring m_name;
    ItemTexts m_items;
    long m_role;
    LONG m_references = 1;
};

constexpr UINT_PTR kSubclassId = 0x4E414D45; // "NAME"

LRESULT CALLBACK answerWithName(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data)
{
    auto *name = reinterpret_cast<std::function<std::wstring()> *>(data);
    if (message == WM_GETOBJECT) {
        if (const LRESULT named = accessibleObjectNamed(window, wParam, lParam, (*name)()))
            return named;
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, answerWithName, kSubclassId);
        delete name;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

LRESULT accessibleObjectNamed(HWND control, WPARAM wParam, LPARAM lParam, const std::wstring &name,
                              ItemTexts items, long role)
{
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return 0;
    IAccessible *standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void **>(&standard))))
        return 0;
    auto *named = new NamedAccessible(standard, control, name, std::move(items), role);
    standard->Release();
    const LRESULT result =
        LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible *>(named));
    named->Release();
    return result > 0 ? result : 0;
}

void setAccessibleName(HWND control, std::function<std::wstring()> name)
{
    auto *held = new std::function<std::wstring()>(std::move(name));
    if (!SetWindowSubclass(control, answerWithName, kSubclassId, reinterpret_cast<DWORD_PTR>(held)))
        delete held;
}

} // namespace lumvrex

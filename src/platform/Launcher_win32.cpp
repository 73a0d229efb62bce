#include "platform/Launcher.h"

#include "platform/WinSeam_win32.h"

#include <windows.h>

#include <oleauto.h>
#include <shellapi.h>

namespace platform {
namespace {

constexpr const char* kPresentationProgram = "POWERPNT.EXE";
constexpr const char* kPresentationDescription = "Microsoft PowerPoint";
constexpr const wchar_t* kAutomationName = L"PowerPoint.Application";

std::string FullPath(const std::string& path)
{
    std::wstring full = win::ExtendedPath(path);
    // The programs get the path as the user knows it; the long form is kept only
    // where the path needs it.
    if (full.size() < MAX_PATH + 4 && full.starts_with(L"\\\\?\\UNC\\"))
        full = L"\\\\" + full.substr(8);
    else if (full.size() < MAX_PATH + 4 && full.starts_with(L"\\\\?\\"))
        full = full.substr(4);
    return win::ToUtf8(full);
}

std::string NotInstalled(const LaunchCommand& command)
{
    return "Das Programm \"" + command.program + "\" (" + command.description + ") ist nicht installiert.";
}

std::string NotStarted(const LaunchCommand& command, const std::string& why)
{
    return "Das Programm \"" + command.program + "\" konnte nicht gestartet werden: " + why;
}

std::string ShellExecute(const LaunchCommand& command, const std::wstring& file,
                         const std::wstring& parameters, int show)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No process handle is kept, no window waits; errors come back as a value
    // instead of the shell's own message box.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_UNICODE;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = show;
    if (::ShellExecuteExW(&info))
        return {};
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND && command.program == kPresentationProgram)
        return NotInstalled(command);
    return NotStarted(command, win::ErrorText(error));
}

// A late-bound call on an automation object.
HRESULT Invoke(IDispatch* object, const wchar_t* name, WORD kind, DISPPARAMS& params, VARIANT* result,
               std::string& why)
{
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        return hr;
    EXCEPINFO exception{};
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, &exception, nullptr);
    if (hr == DISP_E_EXCEPTION && exception.bstrDescription)
        why = win::ToUtf8(exception.bstrDescription);
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
    return hr;
}

class Released
{
public:
    explicit Released(IUnknown* object) : m_object(object) {}
    ~Released()
    {
        if (m_object)
            m_object->Release();
    }
    Released(const Released&) = delete;
    Released& operator=(const Released&) = delete;

private:
    IUnknown* m_object;
};

// The presentation program's automation object: visible, with the file opened
// for editing. Both objects are let go at once; the program lives on by itself.
std::string EditThroughAutomation(const LaunchCommand& command, const std::string& path)
{
    const HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    struct Uninit
    {
        bool active;
        ~Uninit()
        {
            if (active)
                ::CoUninitialize();
        }
    } const uninit{SUCCEEDED(init)};

    CLSID clsid;
    if (FAILED(::CLSIDFromProgID(kAutomationName, &clsid)))
        return NotInstalled(command);
    IDispatch* application = nullptr;
    HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                                    reinterpret_cast<void**>(&application));
    if (FAILED(hr))
        return hr == REGDB_E_CLASSNOTREG ? NotInstalled(command) : NotStarted(command, win::ErrorText(hr));
    const Released releaseApplication(application);
    std::string why;

    VARIANT visible;
    ::VariantInit(&visible);
    visible.vt = VT_BOOL;
    visible.boolVal = VARIANT_TRUE;
    DISPID namedPut = DISPID_PROPERTYPUT;
    DISPPARAMS putParams{&visible, &namedPut, 1, 1};
    hr = Invoke(application, L"Visible", DISPATCH_PROPERTYPUT, putParams, nullptr, why);
    if (FAILED(hr))
        return NotStarted(command, why.empty() ? win::ErrorText(hr) : why);

    VARIANT presentations;
    ::VariantInit(&presentations);
    DISPPARAMS noParams{nullptr, nullptr, 0, 0};
    hr = Invoke(application, L"Presentations", DISPATCH_PROPERTYGET, noParams, &presentations, why);
    if (FAILED(hr) || presentations.vt != VT_DISPATCH || !presentations.pdispVal) {
        ::VariantClear(&presentations);
        return NotStarted(command, why.empty() ? win::ErrorText(FAILED(hr) ? hr : E_NOINTERFACE) : why);
    }

    // Arguments go in reverse order: the read-only flag (false), then the file name.
    VARIANT args[2];
    ::VariantInit(&args[0]);
    ::VariantInit(&args[1]);
    args[0].vt = VT_BOOL;
    args[0].boolVal = VARIANT_FALSE;
    args[1].vt = VT_BSTR;
    args[1].bstrVal = ::SysAllocString(win::ToWide(path).c_str());
    DISPPARAMS openParams{args, nullptr, 2, 0};
    VARIANT opened;
    ::VariantInit(&opened);
    hr = Invoke(presentations.pdispVal, L"Open", DISPATCH_METHOD, openParams, &opened, why);
    ::VariantClear(&opened);
    ::VariantClear(&args[1]);
    ::VariantClear(&presentations);
    if (FAILED(hr))
        return NotStarted(command, why.empty() ? win::ErrorText(hr) : why);
    return {};
}

} // namespace

LaunchCommand BuildLaunchCommand(const LaunchRequest& request)
{
    const std::string path = FullPath(request.path);
    switch (request.action) {
    case LaunchAction::SlideShow:
        return {kPresentationProgram,
                kPresentationDescription,
                {kPresentationProgram, request.slideShowSwitch, path}};
    case LaunchAction::Edit:
        return {kPresentationProgram, kPresentationDescription, {kPresentationProgram, path}};
    case LaunchAction::OpenAssociated:
        break;
    }
    return {path, "Öffnen mit dem zugeordneten Programm", {path}};
}

std::string Launch(const LaunchRequest& request)
{
    const LaunchCommand command = BuildLaunchCommand(request);
    switch (request.action) {
    case LaunchAction::SlideShow: {
        // The program by its bare name, as the shell finds it; the path in double
        // quotes so that blanks keep it whole.
        std::wstring parameters = win::ToWide(command.arguments[1]);
        if (!parameters.empty())
            parameters += L' ';
        parameters += L"\"" + win::ToWide(command.arguments[2]) + L"\"";
        return ShellExecute(command, win::ToWide(command.program), parameters, SW_SHOW);
    }
    case LaunchAction::Edit:
        return EditThroughAutomation(command, command.arguments[1]);
    case LaunchAction::OpenAssociated:
        break;
    }
    return ShellExecute(command, win::ToWide(command.arguments[0]), {}, SW_SHOWNORMAL);
}

} // namespace platform

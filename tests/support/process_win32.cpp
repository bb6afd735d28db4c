#include "process.h"

#include "runtime/system.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include <windows.h>

namespace lumvrex::testing {
namespace {

// A thread of the system's own: the programs are built with MinGW's win32
// threads, whose C++ library has no std::thread.
class Thread
{
public:
    explicit Thread(std::function<void()> work)
        : m_work(std::move(work))
        , m_handle(CreateThread(nullptr, 0, &Thread::run, this, 0, nullptr))
    {
        if (!m_handle)
            m_work();
    }
    ~Thread() { join(); }
    Thread(const Thread &) = delete;
    Thread &operator=(const Thread &) = delete;

    void join()
    {
        if (m_handle) {
            WaitForSingleObject(m_handle, INFINITE);
            CloseHandle(m_handle);
            m_handle = nullptr;
        }
    }

private:
    static DWORD WINAPI run(void *thread)
    {
        static_cast<Thread *>(thread)->m_work();
        return 0;
    }

    std::function<void()> m_work;
    HANDLE m_handle;
};

// One argument quoted so that CommandLineToArgvW and the C runtime give it
// back unchanged: backslashes count only before a quote.
std::wstring quoted(const std::wstring &argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    text.append(backslashes * 2, L'\\');
    return text + L'"';
}

// The caller's environment with the settings on top, as the sorted block
// CreateProcessW takes. Names are compared without case, as Windows does.
std::wstring environmentBlock(const std::vector<std::string> &settings)
{
    const auto lessIgnoringCase = [](const std::wstring &a, const std::wstring &b) {
        return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                    static_cast<int>(b.size()), TRUE)
            == CSTR_LESS_THAN;
    };
    std::map<std::wstring, std::wstring, decltype(lessIgnoringCase)> variables(lessIgnoringCase);
    wchar_t *const inherited = GetEnvironmentStringsW();
    for (const wchar_t *entry = inherited; *entry != L'\0'; entry += wcslen(entry) + 1) {
        const std::wstring text = entry;
        // "=C:=C:\folder": the current folder of each drive, kept as it is.
        const std::size_t equals = text.find(L'=', 1);
        if (equals != std::wstring::npos)
            variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    FreeEnvironmentStringsW(inherited);
    for (const std::string &setting : settings) {
        const std::wstring text = wideFromUtf8(setting);
        const std::size_t equals = text.find(L'=');
        variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    std::wstring block;
    for (const auto &[name, value] : variables) {
        block += name;
        block += L'=';
        block += value;
        block += L'\0';
    }
    return block + L'\0';
}

class Handle
{
public:
    Handle() = default;
    explicit Handle(HANDLE handle)
        : m_handle(handle)
    { }
    ~Handle() { close(); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    HANDLE get() const { return m_handle; }
    HANDLE *out() { return &m_handle; }
    void close()
    {
        if (m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    HANDLE m_handle = nullptr;
};

// A pipe whose one end the child inherits.
struct Pipe
{
    Handle read;
    Handle write;

    bool open(bool childReads)
    {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        if (!CreatePipe(read.out(), write.out(), &inherit, 0))
            return false;
        return SetHandleInformation(childReads ? write.get() : read.get(), HANDLE_FLAG_INHERIT, 0);
    }
};

void readAll(HANDLE from, std::string &into)
{
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(from, buffer, sizeof buffer, &got, nullptr) && got > 0)
        into.append(buffer, got);
}

} // namespace

ProgramRun runProgram(const std::filesystem::path &program, const std::vector<std::string> &arguments,
                      const ProgramOptions &options)
{
    if (options.as != ProgramOptions::As::Caller) {
        ADD_FAILURE() << "running as another user or with a file-size limit is for POSIX systems";
        return {};
    }
    std::wstring commandLine = quoted(program.native());
    for (const std::string &argument : arguments)
        commandLine += L' ' + quoted(wideFromUtf8(argument));

    // Under Wine the locale of the Linux side decides the child's settings
    // and how it spells file names; a UTF-8 one with a point as the decimal
    // separator matches what the POSIX tests give their children. Windows
    // itself ignores these names.
    std::vector<std::string> settings{"LC_ALL=C.UTF-8"};
    settings.insert(settings.end(), options.environment.begin(), options.environment.end());
    std::wstring environment = environmentBlock(settings);

    Pipe in, out, err;
    if (!in.open(true) || !out.open(false) || !err.open(false)) {
        ADD_FAILURE() << "CreatePipe: " << systemErrorText(SystemCode::fromWindows(GetLastError()));
        return {};
    }
    Handle outputFile;
    if (options.outputFile) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        *outputFile.out() = CreateFileW(options.outputFile->c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (outputFile.get() == INVALID_HANDLE_VALUE) {
            ADD_FAILURE() << "cannot open " << options.outputFile->string() << ": "
                          << systemErrorText(SystemCode::fromWindows(GetLastError()));
            return {};
        }
    }

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    // A closed stream is a missing handle, as when a service starts a program.
    startup.hStdInput = options.closedInput ? nullptr : in.read.get();
    startup.hStdOutput = options.closedOutput ? nullptr
        : options.outputFile                  ? outputFile.get()
                                              : out.write.get();
    startup.hStdError = err.write.get();
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                        CREATE_UNICODE_ENVIRONMENT | DETACHED_PROCESS, environment.data(), nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "cannot start " << program.string() << ": "
                      << systemErrorText(SystemCode::fromWindows(GetLastError()));
        return {};
    }
    Handle child(process.hProcess);
    CloseHandle(process.hThread);
    // Only the child holds these ends now, so that the pipes end with it.
    in.read.close();
    out.write.close();
    err.write.close();
    outputFile.close();

    // Feed the input and gather both outputs at once, so that no pipe fills.
    ProgramRun run;
    Thread feeder([&in, input = std::string_view(options.input)]() mutable {
        while (!input.empty()) {
            DWORD put = 0;
            const auto chunk = static_cast<DWORD>(std::min<std::size_t>(input.size(), 65536));
            if (!WriteFile(in.write.get(), input.data(), chunk, &put, nullptr) || put == 0)
                break;
            input.remove_prefix(put);
        }
        in.write.close();
    });
    Thread errorReader([&] { readAll(err.read.get(), run.err); });
    readAll(out.read.get(), run.out);
    errorReader.join();
    feeder.join();

    WaitForSingleObject(child.get(), INFINITE);
    DWORD exitCode = 0;
    if (GetExitCodeProcess(child.get(), &exitCode))
        run.exitCode = static_cast<int>(exitCode);
    return run;
}

ProgramRun runCli(const std::vector<std::string> &arguments, const ProgramOptions &options)
{
    return runProgram(LUMVREX_CLI, arguments, options);
}

} // namespace lumvrex::testing

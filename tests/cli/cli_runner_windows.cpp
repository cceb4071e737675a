#include <windows.h>

#include <stdexcept>

#include "runtime/utf16.h"
#include "tests/cli/cli_runner.h"

namespace imgcrypt::test {
namespace {

// One argument as the C runtime's command-line parser reads it back:
// quoted when it holds blanks or quotes, with the backslashes in front of a
// quote (or of the closing quote) doubled.
std::wstring Quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

// Closes a HANDLE when it goes out of scope.
class Handle {
  public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~Handle() {
        if (valid()) ::CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

SECURITY_ATTRIBUTES Inheritable() {
    return SECURITY_ATTRIBUTES{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
}

HANDLE OpenInheritable(const std::wstring& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit = Inheritable();
    return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The handle the child reads its standard input from.
HANDLE OpenInput(StandardInput from, const std::string& input, const std::string& inPath) {
    switch (from) {
        case StandardInput::File:
            return OpenInheritable(Utf16FromUtf8(inPath), GENERIC_READ, OPEN_EXISTING);
        case StandardInput::NullDevice:
            return OpenInheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
        case StandardInput::Pipe: {
            SECURITY_ATTRIBUTES inherit = Inheritable();
            HANDLE readEnd = nullptr;
            HANDLE writeEnd = nullptr;
            if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 64 * 1024)) {
                return INVALID_HANDLE_VALUE;
            }
            const Handle writer(writeEnd);
            DWORD written = 0;
            const BOOL ok = ::SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0) &&
                            ::WriteFile(writeEnd, input.data(), static_cast<DWORD>(input.size()),
                                        &written, nullptr);
            if (ok && written == input.size()) return readEnd;
            ::CloseHandle(readEnd);
            return INVALID_HANDLE_VALUE;
        }
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

int StartCliAndWait(const std::vector<std::string>& args, const std::string& input,
                    const std::string& workDir, StandardInput from, const CliStreamFiles& files) {
    const Handle in(OpenInput(from, input, files.in));
    const Handle out(OpenInheritable(Utf16FromUtf8(files.out), GENERIC_WRITE, CREATE_ALWAYS));
    const Handle err(OpenInheritable(Utf16FromUtf8(files.err), GENERIC_WRITE, CREATE_ALWAYS));
    if (!in.valid() || !out.valid() || !err.valid()) {
        throw std::runtime_error("cannot open the program's standard streams");
    }

    const std::wstring program = Utf16FromUtf8(CliProgramPath());
    std::wstring commandLine = Quoted(program);
    for (const std::string& arg : args) commandLine += L" " + Quoted(Utf16FromUtf8(arg));
    const std::wstring folder = Utf16FromUtf8(workDir);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.get();
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                          CREATE_NO_WINDOW, nullptr, folder.empty() ? nullptr : folder.c_str(),
                          &startup, &process)) {
        throw std::runtime_error("cannot start the program: system error " +
                                 std::to_string(::GetLastError()));
    }
    const Handle child(process.hProcess);
    const Handle thread(process.hThread);
    ::WaitForSingleObject(child.get(), INFINITE);
    DWORD code = 0;
    if (!::GetExitCodeProcess(child.get(), &code)) return -1;
    return static_cast<int>(code);
}

}  // namespace imgcrypt::test

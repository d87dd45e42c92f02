#pragma once
// PackRunner's process on Windows: CreateProcessW with standard output and
// error in files, and the memory bounded by a job object.
#include <string>
#include <vector>

#include <windows.h>

#include "support/ScratchDir.h"

namespace vlo::test {

// One argument quoted as the C runtime splits a command line: backslashes
// double only before a quote.
inline std::wstring quotedArgument(const std::wstring& argument)
{
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

inline std::wstring wideOf(const std::string& utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &wide[0], length);
    return wide;
}

// A file the child inherits as a standard handle.
inline HANDLE inheritedFile(const std::string& path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(wideOf(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &security, disposition,
        FILE_ATTRIBUTE_NORMAL, nullptr);
}

inline PackResult runPack(const std::vector<std::string>& arguments, long limitMb)
{
    static int runs = 0;
    ScratchDir capture("packrun");
    const std::string outPath = capture.path("out" + std::to_string(runs));
    const std::string errPath = capture.path("err" + std::to_string(runs++));

    const std::wstring program = wideOf(VLO_BINARY_DIR "/vellumo-pack.exe");
    std::wstring commandLine = quotedArgument(program);
    for (const std::string& argument : arguments)
        commandLine += L" " + quotedArgument(wideOf(argument));

    PackResult result;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inheritedFile("NUL", GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = inheritedFile(outPath, GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = inheritedFile(errPath, GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (limitMb > 0 && job != nullptr) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limit{};
        limit.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY;
        limit.ProcessMemoryLimit = SIZE_T(limitMb) << 20;
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limit, sizeof(limit));
    }
    PROCESS_INFORMATION process{};
    if (CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
            &startup, &process)) {
        AssignProcessToJobObject(job, process.hProcess);
        ResumeThread(process.hThread);
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(process.hProcess, &code))
            result.status = int(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        result.err = "could not start " + std::string(VLO_BINARY_DIR "/vellumo-pack.exe");
    }
    for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        CloseHandle(handle);
    if (job != nullptr)
        CloseHandle(job);
    result.out = readFile(outPath);
    result.err += readFile(errPath);
    return result;
}

} // namespace vlo::test

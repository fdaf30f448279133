#include "ServerProcess.h"

std::wstring WindowsPath(const char *unixPath)
{
    std::wstring path = L"Z:";
    for (const char *c = unixPath; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

DWORD RunProgram(const std::wstring &commandLine, std::string *out, std::string *err)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    wchar_t dir[MAX_PATH], paths[2][MAX_PATH] = {};
    HANDLE files[2] = {};  // stdout and stderr
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (out) {
        GetTempPathW(MAX_PATH, dir);
        for (int i = 0; i < 2; ++i) {
            GetTempFileNameW(dir, L"prb", 0, paths[i]);
            files[i] = CreateFileW(paths[i], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
        }
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = files[0];
        startup.hStdError = files[1];
    }
    PROCESS_INFORMATION process = {};
    std::wstring line = commandLine;
    DWORD code = ~0u;
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, out != nullptr, 0, nullptr, nullptr, &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (int i = 0; out && i < 2; ++i) {
        SetFilePointer(files[i], 0, nullptr, FILE_BEGIN);
        std::string *text = i == 0 ? out : err;
        char buffer[4096];
        DWORD got = 0;
        if (text) text->clear();
        while (text && ReadFile(files[i], buffer, sizeof buffer, &got, nullptr) && got > 0) text->append(buffer, got);
        CloseHandle(files[i]);
        DeleteFileW(paths[i]);
    }
    return code;
}

DWORD RunRegsvr32(const std::wstring &arguments)
{
    return RunProgram(L"regsvr32.exe /s " + arguments);
}

bool KeyExists(HKEY root, const std::wstring &path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::wstring ReadString(HKEY root, const std::wstring &path, const wchar_t *name)
{
    wchar_t buffer[1024];
    DWORD bytes = sizeof(buffer);
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

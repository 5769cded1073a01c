// comserver.dll: a COM server of the e2e tests' own. Its registration names
// its own file, under a key derived from its own file name, so that a machine
// image can name the key of each copy:
//   HKEY_LOCAL_MACHINE\Software\Classes\PurgentTest.<file name>\InprocServer32
//   with the DLL's full path as the default value.
// DllUnregisterServer deletes PurgentTest.<file name> with its subtree: the
// key goes only when the registration tool really ran on that file.
#include <windows.h>
#include <olectl.h>

#include <string>

namespace {

HMODULE self = nullptr;

std::string OwnPath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    return std::string(path, length);
}

std::string ClassKey() {
    const std::string path = OwnPath();
    return "Software\\Classes\\PurgentTest." + path.substr(path.rfind('\\') + 1);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, (ClassKey() + "\\InprocServer32").c_str(), 0, nullptr, 0, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    const std::string path = OwnPath();
    const LONG set = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                                    static_cast<DWORD>(path.size() + 1));
    RegCloseKey(key);
    return set == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer() {
    const LONG deleted = RegDeleteTreeA(HKEY_LOCAL_MACHINE, ClassKey().c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

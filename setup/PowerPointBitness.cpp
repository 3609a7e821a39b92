#include "PowerPointBitness.h"

#include <algorithm>

#include "UniqueHandle.h"

namespace {

const wchar_t kAppPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\powerpnt.exe";
const wchar_t kClassServer[] = L"CLSID\\{7EEF936A-F221-4F46-8C29-92821BB74D7B}\\InprocServer32";

REGSAM ViewOf(int bits) {
    return bits == 32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

template <typename T>
bool ReadAt(HANDLE file, LONG offset, T& value) {
    DWORD read = 0;
    return SetFilePointer(file, offset, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
           ReadFile(file, &value, sizeof value, &read, nullptr) && read == sizeof value;
}

}  // namespace

int PowerPointBitness::OfImage(const std::wstring& path) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    IMAGE_DOS_HEADER dos{};
    DWORD signature = 0;
    IMAGE_FILE_HEADER header{};
    if (!file || !ReadAt(file.Get(), 0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew <= 0 ||
        !ReadAt(file.Get(), dos.e_lfanew, signature) || signature != IMAGE_NT_SIGNATURE ||
        !ReadAt(file.Get(), dos.e_lfanew + static_cast<LONG>(sizeof signature), header))
        return 0;
    switch (header.Machine) {
        case IMAGE_FILE_MACHINE_I386:
            return 32;
        case IMAGE_FILE_MACHINE_AMD64:
        case IMAGE_FILE_MACHINE_ARM64:  // Office on ARM64 loads x64 add-ins
            return 64;
        default:
            return 0;
    }
}

// A registered path (an expandable one comes expanded), perhaps quoted.
std::wstring PowerPointBitness::ReadPath(HKEY root, const wchar_t* key, REGSAM view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS) return {};
    UniqueRegistryKey held(opened);
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(held.Get(), nullptr, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    std::wstring path(value);
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
        path = path.substr(1, path.size() - 2);
    return path;
}

std::vector<int> PowerPointBitness::Installed() {
    std::vector<int> found;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            const int bits = OfImage(ReadPath(root, kAppPath, view));
            if (bits && std::find(found.begin(), found.end(), bits) == found.end()) found.push_back(bits);
        }
    return found;
}

// The bitness of the library that the class names in that bitness's view.
int PowerPointBitness::Registered(int bits) {
    return OfImage(ReadPath(HKEY_CLASSES_ROOT, kClassServer, ViewOf(bits)));
}

int PowerPointBitness::Unserved(const std::wstring& library) {
    const int ours = OfImage(library);
    for (int bits : Installed())
        if (bits != ours && Registered(bits) != bits) return bits;
    return 0;
}

// Only 64-bit Windows runs both; there the x64 package serves either Office.
std::wstring PowerPointBitness::Message(int powerPointBits) {
    const std::wstring theirs = powerPointBits == 32 ? L"32-bit" : L"64-bit";
    const std::wstring ours = powerPointBits == 32 ? L"64-bit" : L"32-bit";
    return L"Quillset is registered for " + ours + L" Office, but PowerPoint on this computer is " + theirs +
           L", so it will not show the Quillset button. Remove Quillset and install Quillset-x64.msi, the "
           L"package "
           L"for 64-bit Windows, which serves 32-bit and 64-bit Office.";
}

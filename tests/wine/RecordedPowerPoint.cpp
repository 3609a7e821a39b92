#include "RecordedPowerPoint.h"

#include <cstring>

#include "TestFiles.h"

namespace {
const wchar_t kAppPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\powerpnt.exe";
}  // namespace

const WORD RecordedPowerPoint::kOwnMachine =
    sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;
const WORD RecordedPowerPoint::kOtherMachine =
    sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64;
const REGSAM RecordedPowerPoint::kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

RecordedPowerPoint::RecordedPowerPoint(const std::wstring& folder)
    : m_folder(folder),
      m_own(HKEY_LOCAL_MACHINE, kAppPath, 0),
      m_other(HKEY_LOCAL_MACHINE, kAppPath, kOtherView) {}

std::string RecordedPowerPoint::ImageHeaders(WORD machine) {
    std::string bytes(0x40 + 4 + sizeof(IMAGE_FILE_HEADER), '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3C] = 0x40;  // e_lfanew
    std::memcpy(&bytes[0x40], "PE\0\0", 4);
    std::memcpy(&bytes[0x44], &machine, sizeof machine);
    return bytes;
}

bool RecordedPowerPoint::Record(WORD machine) {
    m_other.Remove();
    if (!machine) {
        m_own.Remove();
        return true;
    }
    const std::wstring program = m_folder + L"POWERPNT-" + std::to_wstring(machine) + L".EXE";
    const std::string bytes =
        machine == IMAGE_FILE_MACHINE_UNKNOWN ? "MZ, but no image" : ImageHeaders(machine);
    return TestFiles::Write(program, bytes) && m_own.Set(program);
}

#pragma once
// Points this process's temporary folder (TMP and TEMP, which GetTempPathW
// reads, and which child processes inherit) at a fresh empty folder for as long
// as it lives, so that a test sees every file a run leaves there. Also takes
// note of what is at the root of drive C: when it is made.
#include <string>
#include <vector>

class ScratchTemp {
public:
    // `name`: the folder's name below the tests' own folder; any characters.
    explicit ScratchTemp(const std::wstring& name);
    ~ScratchTemp();
    ScratchTemp(const ScratchTemp&) = delete;
    ScratchTemp& operator=(const ScratchTemp&) = delete;

    // Ends with a backslash.
    const std::wstring& Folder() const { return m_folder; }
    // Names of what is in the folder now.
    std::vector<std::wstring> Left() const;
    // Names at the root of C: that were not there when this was made.
    std::vector<std::wstring> NewAtRootOfC() const;

    static std::vector<std::wstring> Names(const std::wstring& folder);

private:
    std::wstring m_folder;
    std::wstring m_savedTmp;
    std::wstring m_savedTemp;
    std::vector<std::wstring> m_rootOfC;
};

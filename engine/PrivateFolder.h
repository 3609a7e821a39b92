#pragma once
// The intermediate files of one conversion live in a folder of their own, made
// anew in the user's temporary folder: no other run, session or user shares
// them, and the PostScript copy of the deck does not outlive the run.
#include <string>

class PrivateFolder {
public:
    // Creates the folder; Created() tells whether that worked.
    PrivateFolder();
    // Removes the folder and everything in it.
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    bool Created() const { return !m_path.empty(); }
    // Ends with a backslash; empty when the folder could not be created.
    const std::wstring& Path() const { return m_path; }
    // The user's temporary folder, where the folder is made.
    static std::wstring Parent();

private:
    static std::wstring UniqueName();
    static void Remove(const std::wstring& folder);

    std::wstring m_path;
};

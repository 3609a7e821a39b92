#pragma once
// The intermediate files of one conversion live in a folder of their own, made
// anew in the user's temporary folder: no other run, session or user shares
// them, and the PostScript copy of the deck does not outlive the run.
//
// The folder is open all its life without delete sharing: that is how the next
// run tells a live run's folder from one a crash left behind, which it removes.
#include <string>

#include "UniqueHandle.h"

class PrivateFolder {
public:
    // Removes folders of runs that ended without removing theirs, then creates
    // the folder; Created() tells whether that worked.
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
    // The access list the folder gets: the user and SYSTEM, nothing inherited.
    static std::wstring AccessList();

private:
    static std::wstring UniqueName();
    static void RemoveAbandoned(const std::wstring& parent);

    std::wstring m_path;
    UniqueFileHandle m_hold;
};

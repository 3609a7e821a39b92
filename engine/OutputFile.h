#pragma once
// What is on disk at a conversion's output path, and how the PDF gets there.
// Paths of any length: every call goes through the \\?\ form.
#include <windows.h>

#include <string>

class OutputFile {
public:
    // A full path (no relative one) naming an existing folder.
    static bool IsFolder(const std::wstring& folder);
    // A file search for exactly `path`.
    static bool Exists(const std::wstring& path);
    // The file starts like a PDF file.
    static bool IsPdf(const std::wstring& path);
    // Moves the finished PDF `made` to `path`, also across volumes. A file at
    // `path` is replaced only with `replace` (the user agreed to it), and keeps
    // its own permissions; a new file gets those its folder gives, not those of
    // the folder it was made in. Without `replace`, or when `made` is no PDF,
    // nothing at `path` changes. A replace never loses a PDF: after a failure the
    // earlier file is at its own name again, and where that could not be done,
    // `where` (when given) says where the earlier and the new file are now.
    static bool Deliver(const std::wstring& made, const std::wstring& path, bool replace,
                        std::wstring* where = nullptr);
    // `path` made full and prefixed with \\?\; empty when it cannot be.
    static std::wstring Extended(const std::wstring& path);

private:
    static bool Replace(const std::wstring& made, const std::wstring& target, std::wstring* where);
    static bool Swap(const std::wstring& target, const std::wstring& replacement, const std::wstring& backup);
    static bool TakeName(const std::wstring& made, const std::wstring& target, const std::wstring& backup,
                         bool staged, std::wstring* where);
    static bool MoveNew(const std::wstring& made, const std::wstring& target);
    static bool InheritPermissions(const std::wstring& target);
};

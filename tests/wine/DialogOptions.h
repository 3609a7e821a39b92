#pragma once
// Conversion options as a user would set them on the Convert dialog's pages,
// given as "name=value" items:
//   title, author, subject, keywords            the Description page's texts
//   user-password, owner-password               tick the box, then type the password
//   encryption=40|128                           the encryption level
//   tick=printing,changing,copying,forms        permission boxes to tick
//   document-compression, image-compression,
//   jpeg-quality, pdf-version                   the Advanced list entry containing the value;
//                                               "typed:TEXT" types TEXT into the list's field
#include <string>
#include <utility>
#include <vector>

class ConvertDialogDriver;

class DialogOptions {
public:
    DialogOptions() = default;
    DialogOptions(std::initializer_list<std::pair<std::wstring, std::wstring>> items) : m_items(items) {}

    // False for an item that is not "name=value" with a known name.
    bool Add(const std::wstring& nameValue);
    // Sets every option on the dialog's pages; false when a value matched no control or entry.
    bool Apply(const ConvertDialogDriver& dialog) const;

private:
    bool ApplyOne(const ConvertDialogDriver& dialog, const std::wstring& name, const std::wstring& value) const;
    bool NeedsSecurity() const;

    std::vector<std::pair<std::wstring, std::wstring>> m_items;
};

#pragma once
// What registration scripts write, as the WiX elements of a package component:
// Windows Installer then writes, repairs, rolls back and removes those values
// itself, in the registry view of the component's bitness, and no library of
// another bitness has to be loaded to register it.
#include <string>
#include <utility>
#include <vector>

class WixRegistryRows {
public:
    // Runs `scripts` against an empty registry with `replacements`. A value with
    // brackets is Windows Installer formatted text (say "[#QuillsetX86.dll]") and
    // goes into the rows as it is; everything else is literal. False, with
    // `error`, when a script fails. Keys without values (the class's
    // "Programmable" marker) get no row: the installer writes keys for values only.
    static bool Build(const std::vector<std::wstring>& scripts,
                      const std::vector<std::pair<std::wstring, std::wstring>>& replacements,
                      std::wstring& include, std::wstring& error);
    // Literal text for a formatted column in an XML attribute.
    static std::wstring Literal(const std::wstring& text);

private:
    static std::wstring Marker(std::size_t index);
    static std::wstring Attribute(const std::wstring& text,
                                  const std::vector<std::pair<std::wstring, std::wstring>>& replacements);
};

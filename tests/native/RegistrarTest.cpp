#include <algorithm>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MemoryRegistry.h"
#include "Registrar.h"
#include "RegistryScript.h"
#include "ScriptReplacements.h"
#include "WixRegistryRows.h"

namespace {

const wchar_t kAppId[] = L"{5C4B41DD-C504-44C6-B2C2-8AA99AF68942}";
const wchar_t kModule[] = L"C:\\Program Files\\Quillset\\Quillset.dll";
const std::wstring kClsidKey = L"HKCR\\CLSID\\{7EEF936A-F221-4F46-8C29-92821BB74D7B}";
const std::wstring kAddinKey =
    L"HKCU\\Software\\Microsoft\\Office\\PowerPoint\\Addins\\Quillset.PowerPointAdd";

// The scripts are ASCII text, as the library embeds them.
std::wstring ReadScript(const char* name) {
    std::ifstream file(std::string(QUILLSET_ADDIN_DIR) + "/" + name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_FALSE(bytes.empty()) << name;
    return std::wstring(bytes.begin(), bytes.end());
}

std::wstring ModuleScript() {
    return ReadScript("QuillsetModule.rgs");
}
std::wstring AddinScript() {
    return ReadScript("PowerPointAddin.rgs");
}

// The library names the add-in key's root: HKLM machine-wide, HKCU per user.
ScriptReplacements Replacements(const std::wstring& module = kModule, const wchar_t* addinRoot = L"HKCU") {
    ScriptReplacements replacements;
    replacements.Add(L"APPID", kAppId);
    replacements.Add(L"Module", module);
    replacements.Add(L"Module_Raw", module);
    replacements.Add(L"ADDINROOT", addinRoot);
    return replacements;
}

RegistryKeyPath Path(RegistryRoot root, std::vector<std::wstring> names) {
    return RegistryKeyPath(root, std::move(names));
}

const RegistryKeyPath kClsid =
    Path(RegistryRoot::ClassesRoot, {L"CLSID", L"{7EEF936A-F221-4F46-8C29-92821BB74D7B}"});
const RegistryKeyPath kAddins =
    Path(RegistryRoot::CurrentUser, {L"Software", L"Microsoft", L"Office", L"PowerPoint", L"Addins"});

const std::vector<std::wstring> kModuleDump = {
    L"HKCR\\AppID",
    L"HKCR\\AppID\\Quillset.DLL",
    L"HKCR\\AppID\\Quillset.DLL @AppID = s '{5C4B41DD-C504-44C6-B2C2-8AA99AF68942}'",
    L"HKCR\\AppID\\{5C4B41DD-C504-44C6-B2C2-8AA99AF68942}",
    L"HKCR\\AppID\\{5C4B41DD-C504-44C6-B2C2-8AA99AF68942} @ = s 'Quillset'",
};

std::vector<std::wstring> AddinDump(const std::wstring& module) {
    return {
        L"HKCR\\CLSID",
        kClsidKey,
        kClsidKey + L" @ = s 'PowerPointAddin Class'",
        kClsidKey + L"\\InprocServer32",
        kClsidKey + L"\\InprocServer32 @ = s '" + module + L"'",
        kClsidKey + L"\\InprocServer32 @ThreadingModel = s 'Apartment'",
        kClsidKey + L"\\ProgID",
        kClsidKey + L"\\ProgID @ = s 'Quillset.PowerPointA.1'",
        kClsidKey + L"\\Programmable",
        kClsidKey + L"\\TypeLib",
        kClsidKey + L"\\TypeLib @ = s '{A35FC283-3039-4C91-A182-6657E672924B}'",
        kClsidKey + L"\\VersionIndependentProgID",
        kClsidKey + L"\\VersionIndependentProgID @ = s 'Quillset.PowerPointAdd'",
        L"HKCR\\Quillset.PowerPointA.1",
        L"HKCR\\Quillset.PowerPointA.1 @ = s 'PowerPointAddin Class'",
        L"HKCR\\Quillset.PowerPointA.1\\CLSID",
        L"HKCR\\Quillset.PowerPointA.1\\CLSID @ = s '{7EEF936A-F221-4F46-8C29-92821BB74D7B}'",
        L"HKCR\\Quillset.PowerPointAdd",
        L"HKCR\\Quillset.PowerPointAdd @ = s 'PowerPointAddin Class'",
        L"HKCR\\Quillset.PowerPointAdd\\CLSID",
        L"HKCR\\Quillset.PowerPointAdd\\CLSID @ = s '{7EEF936A-F221-4F46-8C29-92821BB74D7B}'",
        L"HKCR\\Quillset.PowerPointAdd\\CurVer",
        L"HKCR\\Quillset.PowerPointAdd\\CurVer @ = s 'Quillset.PowerPointA.1'",
        L"HKCU\\Software",
        L"HKCU\\Software\\Microsoft",
        L"HKCU\\Software\\Microsoft\\Office",
        L"HKCU\\Software\\Microsoft\\Office\\PowerPoint",
        L"HKCU\\Software\\Microsoft\\Office\\PowerPoint\\Addins",
        kAddinKey,
        kAddinKey + L" @CommandLineSafe = d 1",
        kAddinKey + L" @Description = s 'Ppt Custom Addin'",
        kAddinKey + L" @FriendlyName = s 'PPT Custom Addin'",
        kAddinKey + L" @LoadBehavior = d 3",
    };
}

void ExpectOk(const RegistrarStatus& status) {
    EXPECT_TRUE(status.IsOk()) << std::string(status.Message().begin(), status.Message().end());
}

void RegisterBoth(Registrar& registrar, const ScriptReplacements& replacements = Replacements()) {
    ExpectOk(registrar.Register(ModuleScript(), replacements));
    ExpectOk(registrar.Register(AddinScript(), replacements));
}

void UnregisterBoth(Registrar& registrar) {
    ExpectOk(registrar.Unregister(AddinScript(), Replacements()));
    ExpectOk(registrar.Unregister(ModuleScript(), Replacements()));
}

// What a machine holds before the add-in comes: other classes, AppIDs and add-ins.
void AddNeighbours(MemoryRegistry& registry) {
    ASSERT_EQ(registry.CreateKey(Path(RegistryRoot::ClassesRoot, {L"AppID", L"{Other}"})), 0u);
    ASSERT_EQ(registry.CreateKey(Path(RegistryRoot::ClassesRoot, {L"CLSID", L"{Other}", L"InprocServer32"})),
              0u);
    ASSERT_EQ(registry.CreateKey(kAddins.Child(L"Other.Addin")), 0u);
    ASSERT_EQ(registry.SetDword(kAddins.Child(L"Other.Addin"), L"LoadBehavior", 3), 0u);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TEST(ScriptReplacements, NamesIgnoreCaseAndTheEarlierEntryWins) {
    ScriptReplacements replacements;
    replacements.Add(L"Module", L"first");
    replacements.Add(L"MODULE", L"second");
    std::wstring expanded;
    ExpectOk(replacements.Expand(L"a %MODULE% b %module% c", expanded));
    EXPECT_EQ(expanded, L"a first b first c");
}

TEST(ScriptReplacements, DoublesSingleQuotesAndKeepsAPercentSign) {
    ScriptReplacements replacements;
    replacements.Add(L"Module", L"C:\\it's\\q''.dll");
    std::wstring expanded;
    ExpectOk(replacements.Expand(L"'%Module%' 100%%", expanded));
    EXPECT_EQ(expanded, L"'C:\\it''s\\q''''.dll' 100%");
}

TEST(ScriptReplacements, UnknownOrUnterminatedNamesFail) {
    const ScriptReplacements replacements = Replacements();
    std::wstring expanded;
    for (const wchar_t* text : {L"'%APPIDX%'", L"x\n'%APPID'", L"%Module_Raw"}) {
        const RegistrarStatus status = replacements.Expand(text, expanded);
        EXPECT_FALSE(status.IsOk()) << text;
        EXPECT_EQ(status.Code(), RegistryCode::kInvalidData) << text;
    }
    const RegistrarStatus status = replacements.Expand(L"a\nb\n%NOPE%", expanded);
    EXPECT_NE(status.Message().find(L"line 3"), std::wstring::npos);
}

// ---------------------------------------------------------------------------------------------

TEST(RegistryScriptParse, ModuleScriptGivesItsTree) {
    RegistryScript script;
    ExpectOk(RegistryScript::Parse(ModuleScript(), Replacements(), script));
    ASSERT_EQ(script.roots.size(), 1u);
    EXPECT_EQ(script.roots[0].root, RegistryRoot::ClassesRoot);
    ASSERT_EQ(script.roots[0].keys.size(), 1u);
    const ScriptKey& appId = script.roots[0].keys[0];
    EXPECT_EQ(appId.name, L"AppID");
    EXPECT_EQ(appId.removal, ScriptKey::Removal::NoRemove);
    EXPECT_FALSE(appId.defaultValue);
    ASSERT_EQ(appId.subkeys.size(), 2u);
    EXPECT_EQ(appId.subkeys[0].name, kAppId);
    ASSERT_TRUE(appId.subkeys[0].defaultValue);
    EXPECT_EQ(appId.subkeys[0].defaultValue->text, L"Quillset");
    EXPECT_EQ(appId.subkeys[0].defaultValue->name, L"");
    const ScriptKey& dll = appId.subkeys[1];
    EXPECT_EQ(dll.name, L"Quillset.DLL");
    EXPECT_EQ(dll.removal, ScriptKey::Removal::Normal);
    ASSERT_EQ(dll.values.size(), 1u);
    EXPECT_EQ(dll.values[0].name, L"AppID");
    EXPECT_EQ(dll.values[0].text, kAppId);
}

TEST(RegistryScriptParse, AddinScriptFlagsAndDwords) {
    RegistryScript script;
    ExpectOk(RegistryScript::Parse(AddinScript(), Replacements(), script));
    ASSERT_EQ(script.roots.size(), 2u);
    EXPECT_EQ(script.roots[1].root, RegistryRoot::CurrentUser);
    const ScriptKey& clsid = script.roots[0].keys[2];
    EXPECT_EQ(clsid.removal, ScriptKey::Removal::NoRemove);
    const ScriptKey& ours = clsid.subkeys.at(0);
    EXPECT_EQ(ours.name, L"{7EEF936A-F221-4F46-8C29-92821BB74D7B}");
    EXPECT_EQ(ours.removal, ScriptKey::Removal::ForceRemove);
    EXPECT_EQ(ours.subkeys.at(2).name, L"Programmable");
    EXPECT_EQ(ours.subkeys.at(2).removal, ScriptKey::Removal::ForceRemove);
    const ScriptKey* key = &script.roots[1].keys.at(0);
    while (!key->subkeys.empty()) key = &key->subkeys[0];
    EXPECT_EQ(key->name, L"Quillset.PowerPointAdd");
    ASSERT_EQ(key->values.size(), 4u);
    EXPECT_EQ(key->values[2].type, ScriptValue::Type::Dword);
    EXPECT_EQ(key->values[2].number, 3u);
    EXPECT_EQ(key->values[3].number, 1u);
}

TEST(RegistryScriptParse, QuotedTextsLongRootNamesAndKeywordCase) {
    RegistryScript script;
    ExpectOk(
        RegistryScript::Parse(L"hkey_local_machine { 'it''s' = s '''a'' b' { VAL '' = S 'x' "
                              L"noremove 'val' = D '4294967295' } }",
                              ScriptReplacements(), script));
    ASSERT_EQ(script.roots.size(), 1u);
    EXPECT_EQ(script.roots[0].root, RegistryRoot::LocalMachine);
    const ScriptKey& key = script.roots[0].keys.at(0);
    EXPECT_EQ(key.name, L"it's");
    EXPECT_EQ(key.defaultValue->text, L"'a' b");
    ASSERT_EQ(key.values.size(), 1u);
    EXPECT_EQ(key.values[0].name, L"");
    const ScriptKey& quotedVal = key.subkeys.at(0);
    EXPECT_EQ(quotedVal.name, L"val");
    EXPECT_EQ(quotedVal.removal, ScriptKey::Removal::NoRemove);
    EXPECT_EQ(quotedVal.defaultValue->number, 4294967295u);
}

TEST(RegistryScriptParse, EmptyScriptHasNoRoots) {
    RegistryScript script;
    ExpectOk(RegistryScript::Parse(L" \r\n\t", ScriptReplacements(), script));
    EXPECT_TRUE(script.roots.empty());
}

TEST(RegistryScriptParse, MalformedScriptsFailWithInvalidData) {
    const wchar_t* scripts[] = {
        L"HKCR",                             // no body
        L"HKXX { A }",                       // unknown root
        L"'HKCR' { A }",                     // a root is a word
        L"HKCR A",                           // no "{"
        L"HKCR { A",                         // unclosed root
        L"HKCR { A { B }",                   // unclosed key
        L"HKCR { A } }",                     // stray "}"
        L"HKCR { = s 'x' }",                 // no key name
        L"HKCR { A = 'x' }",                 // no value type
        L"HKCR { A = x 'x' }",               // unknown value type
        L"HKCR { A = s x }",                 // unquoted value
        L"HKCR { A = s }",                   // no value
        L"HKCR { A = d 'abc' }",             // DWORD not digits
        L"HKCR { A = d '-1' }",              // DWORD negative
        L"HKCR { A = d '4294967296' }",      // DWORD too large
        L"HKCR { A = d '' }",                // DWORD empty
        L"HKCR { A = s 'open }",             // unterminated text
        L"HKCR { A { val B s 'x' } }",       // no "="
        L"HKCR { A { val = s 'x' } }",       // no value name
        L"HKCR { val B = s 'x' }",           // value on a root
        L"HKCR { NoRemove ForceRemove A }",  // two flags
        L"HKCR { NoRemove }",                // flag without key
        L"HKCR { '' }",                      // empty key name
        L"HKCR { 'A\\B' }",                  // backslash in a key name
        L"HKCR { A'B }",                     // quote inside a word
        L"HKCR { A = s '%NOPE%' }",          // unknown replacement
        L"HKCR { A } HKCU",                  // trailing root without body
    };
    for (const wchar_t* text : scripts) {
        RegistryScript script;
        const RegistrarStatus status = RegistryScript::Parse(text, Replacements(), script);
        EXPECT_FALSE(status.IsOk()) << std::string(text, text + std::wcslen(text));
        EXPECT_EQ(status.Code(), RegistryCode::kInvalidData);
        EXPECT_FALSE(status.Message().empty());
        EXPECT_TRUE(script.roots.empty());
    }
}

TEST(RegistryScriptParse, ErrorsNameTheLine) {
    RegistryScript script;
    const RegistrarStatus status =
        RegistryScript::Parse(L"HKCR\n{\n  A = q 'x'\n}", ScriptReplacements(), script);
    EXPECT_NE(status.Message().find(L"line 3"), std::wstring::npos);
}

// ---------------------------------------------------------------------------------------------

TEST(RegistrarRegister, ModuleScriptWritesTheAppId) {
    MemoryRegistry registry;
    Registrar registrar(registry);
    ExpectOk(registrar.Register(ModuleScript(), Replacements()));
    EXPECT_EQ(registry.Dump(), kModuleDump);
}

TEST(RegistrarRegister, AddinScriptWritesClassProgIdsAndAddinEntry) {
    MemoryRegistry registry;
    Registrar registrar(registry);
    ExpectOk(registrar.Register(AddinScript(), Replacements()));
    EXPECT_EQ(registry.Dump(), AddinDump(kModule));
}

TEST(RegistrarRegister, MachineWideAddinEntryGoesToLocalMachineAndItsRemovalKeepsOtherAddins) {
    MemoryRegistry registry;
    AddNeighbours(registry);
    Registrar registrar(registry);
    ExpectOk(registrar.Register(AddinScript(), Replacements(kModule, L"HKLM")));
    const RegistryKeyPath machineAddin =
        Path(RegistryRoot::LocalMachine,
             {L"Software", L"Microsoft", L"Office", L"PowerPoint", L"Addins", L"Quillset.PowerPointAdd"});
    const auto loadBehavior = registry.FindValue(machineAddin, L"LoadBehavior");
    ASSERT_TRUE(loadBehavior);
    EXPECT_EQ(loadBehavior->number, 3u);
    EXPECT_TRUE(registry.FindValue(machineAddin, L"CommandLineSafe"));
    EXPECT_FALSE(registry.HasKey(kAddins.Child(L"Quillset.PowerPointAdd"))) << "nothing for one user only";

    ExpectOk(registrar.Unregister(AddinScript(), Replacements(kModule, L"HKLM")));
    EXPECT_FALSE(registry.HasKey(machineAddin));
    EXPECT_TRUE(registry.HasKey(kAddins.Child(L"Other.Addin")));
}

TEST(RegistrarRegister, PathWithAQuoteIsWrittenWithOneQuote) {
    const std::wstring module = L"C:\\Users\\O'Brien\\it''s\\Quillset.dll";
    MemoryRegistry registry;
    Registrar registrar(registry);
    ExpectOk(registrar.Register(AddinScript(), Replacements(module)));
    const auto value = registry.FindValue(kClsid.Child(L"InprocServer32"), L"");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->text, module);
    EXPECT_EQ(registry.Dump(), AddinDump(module));
}

TEST(RegistrarRegister, ReRegisteringRebuildsForceRemoveKeysOnly) {
    MemoryRegistry registry;
    Registrar registrar(registry);
    RegisterBoth(registrar);
    // Stale state from an older version: below the ForceRemove keys it must go.
    ASSERT_EQ(registry.CreateKey(kClsid.Child(L"Stale").Child(L"Deeper")), 0u);
    ASSERT_EQ(registry.SetString(kClsid, L"StaleValue", L"old"), 0u);
    ASSERT_EQ(registry.CreateKey(kClsid.Child(L"Programmable").Child(L"Stale")), 0u);
    ASSERT_EQ(registry.SetString(kClsid.Child(L"InprocServer32"), L"", L"D:\\old\\Quillset.dll"), 0u);
    // Outside them it stays: plain keys are opened, not rebuilt.
    const RegistryKeyPath progId = Path(RegistryRoot::ClassesRoot, {L"Quillset.PowerPointAdd"});
    ASSERT_EQ(registry.SetString(progId, L"Kept", L"yes"), 0u);
    ASSERT_EQ(registry.SetDword(kAddins.Child(L"Quillset.PowerPointAdd"), L"LoadBehavior", 2), 0u);

    RegisterBoth(registrar);

    std::vector<std::wstring> expected = kModuleDump;
    const std::vector<std::wstring> addin = AddinDump(kModule);
    expected.insert(expected.end(), addin.begin(), addin.end());
    const auto progIdDefault = std::find(expected.begin(), expected.end(),
                                         L"HKCR\\Quillset.PowerPointAdd @ = s 'PowerPointAddin Class'");
    ASSERT_NE(progIdDefault, expected.end());
    expected.insert(progIdDefault + 1, L"HKCR\\Quillset.PowerPointAdd @Kept = s 'yes'");
    EXPECT_EQ(registry.Dump(), expected);
}

TEST(RegistrarRegister, PerUserPutsClassesUnderCurrentUserClasses) {
    MemoryRegistry registry;
    Registrar registrar(registry, Registrar::ClassesScope::PerUser);
    RegisterBoth(registrar);
    const RegistryKeyPath classes = Path(RegistryRoot::CurrentUser, {L"Software", L"Classes"});
    EXPECT_TRUE(registry.HasKey(classes.Child(L"AppID").Child(L"Quillset.DLL")));
    EXPECT_TRUE(registry.HasKey(classes.Child(L"CLSID").Child(L"{7EEF936A-F221-4F46-8C29-92821BB74D7B}")));
    EXPECT_TRUE(registry.HasKey(kAddins.Child(L"Quillset.PowerPointAdd")));
    EXPECT_FALSE(registry.HasKey(Path(RegistryRoot::ClassesRoot, {L"CLSID"})));

    UnregisterBoth(registrar);
    const std::vector<std::wstring> left = {L"HKCU\\Software", L"HKCU\\Software\\Classes",
                                            L"HKCU\\Software\\Classes\\AppID",
                                            L"HKCU\\Software\\Classes\\CLSID"};
    EXPECT_EQ(registry.Dump(), left);
}

TEST(RegistrarRegister, MalformedScriptWritesNothing) {
    MemoryRegistry registry;
    Registrar registrar(registry);
    const RegistrarStatus status =
        registrar.Register(L"HKCR { A = s 'x' } HKCU { B = d 'x' }", Replacements());
    EXPECT_EQ(status.Code(), RegistryCode::kInvalidData);
    EXPECT_TRUE(registry.Dump().empty());
    EXPECT_EQ(registrar.Register(L"HKCR { A = s '%APPIDS%' }", Replacements()).Code(),
              RegistryCode::kInvalidData);
    EXPECT_TRUE(registry.Dump().empty());
}

TEST(RegistrarRegister, StopsAtTheFirstFailureAndKeepsWhatWasWritten) {
    MemoryRegistry registry;
    registry.DenyAccess(Path(RegistryRoot::ClassesRoot, {L"Quillset.PowerPointAdd"}));
    Registrar registrar(registry);
    const RegistrarStatus status = registrar.Register(AddinScript(), Replacements());
    EXPECT_EQ(status.Code(), RegistryCode::kAccessDenied);
    EXPECT_NE(status.Message().find(L"HKCR\\Quillset.PowerPointAdd"), std::wstring::npos);
    EXPECT_TRUE(registry.HasKey(Path(RegistryRoot::ClassesRoot, {L"Quillset.PowerPointA.1", L"CLSID"})));
    EXPECT_FALSE(registry.HasKey(Path(RegistryRoot::ClassesRoot, {L"CLSID"})));
    EXPECT_FALSE(registry.HasKey(kAddins));
}

TEST(RegistrarRegister, ForceRemoveThatCannotDeleteFails) {
    MemoryRegistry registry;
    Registrar registrar(registry);
    RegisterBoth(registrar);
    registry.DenyAccess(kClsid.Child(L"ProgID"));
    EXPECT_EQ(registrar.Register(AddinScript(), Replacements()).Code(), RegistryCode::kAccessDenied);
    // The tree deletion went as far as it could; nothing was written after it.
    EXPECT_FALSE(registry.HasKey(kClsid.Child(L"InprocServer32")));
    EXPECT_TRUE(registry.HasKey(kClsid.Child(L"ProgID")));
    EXPECT_FALSE(registry.FindValue(kClsid, L"")->text.empty());
}

// ---------------------------------------------------------------------------------------------

TEST(RegistrarUnregister, LeavesTheRegistryAsItWasBefore) {
    MemoryRegistry registry;
    AddNeighbours(registry);
    const std::vector<std::wstring> before = registry.Dump();
    Registrar registrar(registry);
    RegisterBoth(registrar);
    UnregisterBoth(registrar);
    EXPECT_EQ(registry.Dump(), before);
}

TEST(RegistrarUnregister, KeepsNoRemoveKeysEvenWhenEmpty) {
    MemoryRegistry registry;
    Registrar registrar(registry);
    RegisterBoth(registrar);
    UnregisterBoth(registrar);
    // The HKCU path carries no flag: emptied, it goes with the add-in key.
    const std::vector<std::wstring> left = {L"HKCR\\AppID", L"HKCR\\CLSID"};
    EXPECT_EQ(registry.Dump(), left);
}

TEST(RegistrarUnregister, KeepsKeysThatStillHaveOtherSubkeys) {
    MemoryRegistry registry;
    Registrar registrar(registry);
    RegisterBoth(registrar);
    ASSERT_EQ(registry.CreateKey(kAddins.Child(L"Other.Addin")), 0u);
    ASSERT_EQ(registry.CreateKey(kClsid.Child(L"InprocServer32").Child(L"Foreign")), 0u);
    UnregisterBoth(registrar);

    EXPECT_TRUE(registry.HasKey(kAddins.Child(L"Other.Addin")));
    EXPECT_FALSE(registry.HasKey(kAddins.Child(L"Quillset.PowerPointAdd")));
    // The ForceRemove key is removed like any other: a foreign subkey keeps it and
    // its default value, while the listed subkeys and named values go.
    EXPECT_TRUE(registry.HasKey(kClsid.Child(L"InprocServer32").Child(L"Foreign")));
    EXPECT_TRUE(registry.FindValue(kClsid, L""));
    EXPECT_TRUE(registry.FindValue(kClsid.Child(L"InprocServer32"), L""));
    EXPECT_FALSE(registry.FindValue(kClsid.Child(L"InprocServer32"), L"ThreadingModel"));
    EXPECT_FALSE(registry.HasKey(kClsid.Child(L"ProgID")));
    EXPECT_FALSE(registry.HasKey(kClsid.Child(L"Programmable")));
    EXPECT_FALSE(registry.HasKey(Path(RegistryRoot::ClassesRoot, {L"Quillset.PowerPointAdd"})));
}

TEST(RegistrarUnregister, OwnValuesDoNotKeepAKey) {
    MemoryRegistry registry;
    Registrar registrar(registry);
    RegisterBoth(registrar);
    ASSERT_EQ(registry.SetString(kAddins.Child(L"Quillset.PowerPointAdd"), L"Extra", L"x"), 0u);
    ASSERT_EQ(registry.SetString(kAddins, L"OwnValue", L"x"), 0u);
    UnregisterBoth(registrar);
    EXPECT_FALSE(registry.HasKey(Path(RegistryRoot::CurrentUser, {L"Software"})));
}

TEST(RegistrarUnregister, NoRemoveKeyLosesOnlyItsListedValues) {
    MemoryRegistry registry;
    const RegistryKeyPath keep = Path(RegistryRoot::CurrentUser, {L"Keep"});
    ASSERT_EQ(registry.CreateKey(keep), 0u);
    ASSERT_EQ(registry.SetString(keep, L"", L"default"), 0u);
    ASSERT_EQ(registry.SetString(keep, L"Listed", L"x"), 0u);
    ASSERT_EQ(registry.SetString(keep, L"Other", L"y"), 0u);
    Registrar registrar(registry);
    ExpectOk(registrar.Unregister(L"HKCU { NoRemove Keep = s 'd' { val listed = s 'x' val Absent = d '1' } }",
                                  ScriptReplacements()));
    const std::vector<std::wstring> left = {L"HKCU\\Keep", L"HKCU\\Keep @ = s 'default'",
                                            L"HKCU\\Keep @Other = s 'y'"};
    EXPECT_EQ(registry.Dump(), left);
}

TEST(RegistrarUnregister, MissingKeysAreSkippedAndNothingIsCreated) {
    MemoryRegistry registry;
    Registrar registrar(registry);
    UnregisterBoth(registrar);
    EXPECT_TRUE(registry.Dump().empty());
    RegisterBoth(registrar);
    UnregisterBoth(registrar);
    UnregisterBoth(registrar);
    const std::vector<std::wstring> left = {L"HKCR\\AppID", L"HKCR\\CLSID"};
    EXPECT_EQ(registry.Dump(), left);
}

TEST(RegistrarUnregister, GoesOnPastAFailureAndReportsTheFirst) {
    MemoryRegistry registry;
    Registrar registrar(registry);
    RegisterBoth(registrar);
    registry.DenyAccess(kClsid.Child(L"ProgID"));
    const RegistrarStatus status = registrar.Unregister(AddinScript(), Replacements());
    EXPECT_EQ(status.Code(), RegistryCode::kAccessDenied);
    EXPECT_NE(status.Message().find(L"ProgID"), std::wstring::npos);
    EXPECT_TRUE(registry.HasKey(kClsid.Child(L"ProgID")));
    EXPECT_FALSE(registry.HasKey(kClsid.Child(L"TypeLib")));
    EXPECT_FALSE(registry.HasKey(Path(RegistryRoot::CurrentUser, {L"Software"})));
}

TEST(RegistrarUnregister, MalformedScriptRemovesNothing) {
    MemoryRegistry registry;
    Registrar registrar(registry);
    ExpectOk(registrar.Register(ModuleScript(), Replacements()));
    EXPECT_EQ(registrar.Unregister(L"HKCR { NoRemove AppID { 'Quillset.DLL' }", Replacements()).Code(),
              RegistryCode::kInvalidData);
    EXPECT_EQ(registry.Dump(), kModuleDump);
}

// ---------------------------------------------------------------------------------------------

TEST(MemoryRegistry, BehavesLikeTheWin32Registry) {
    MemoryRegistry registry;
    const RegistryKeyPath a = Path(RegistryRoot::CurrentUser, {L"A"});
    EXPECT_EQ(registry.OpenKey(RegistryKeyPath(RegistryRoot::Users)), RegistryCode::kOk);
    EXPECT_EQ(registry.OpenKey(a), RegistryCode::kNotFound);
    EXPECT_EQ(registry.SetString(a, L"", L"x"), RegistryCode::kNotFound);
    ASSERT_EQ(registry.CreateKey(a.Child(L"B")), RegistryCode::kOk);
    EXPECT_EQ(registry.OpenKey(Path(RegistryRoot::CurrentUser, {L"a", L"b"})), RegistryCode::kOk);
    EXPECT_EQ(registry.DeleteKey(a), RegistryCode::kAccessDenied);
    EXPECT_EQ(registry.DeleteKey(RegistryKeyPath(RegistryRoot::CurrentUser)), RegistryCode::kAccessDenied);
    EXPECT_EQ(registry.DeleteValue(a, L"none"), RegistryCode::kNotFound);
    bool hasSubkeys = false;
    ASSERT_EQ(registry.HasSubkeys(a, hasSubkeys), RegistryCode::kOk);
    EXPECT_TRUE(hasSubkeys);
    ASSERT_EQ(registry.SetDword(a, L"Value", 7), RegistryCode::kOk);
    ASSERT_EQ(registry.SetString(a, L"VALUE", L"text"), RegistryCode::kOk);
    EXPECT_EQ(registry.FindValue(a, L"value")->text, L"text");
    EXPECT_EQ(registry.DeleteKey(a.Child(L"b")), RegistryCode::kOk);
    EXPECT_EQ(registry.DeleteKey(a), RegistryCode::kOk);
    EXPECT_EQ(registry.DeleteKey(a), RegistryCode::kNotFound);
}

// ---------------------------------------------------------------------------------------------
// The x64 package's rows for the x86 library, from the same scripts: Windows
// Installer formatted text, in XML attributes.

TEST(WixRegistryRows, TheLibrarysScriptsGiveItsClassAndMachineWideAddinKey) {
    std::wstring include, error;
    ASSERT_TRUE(WixRegistryRows::Build(
        {ModuleScript(), AddinScript()},
        {{L"APPID", kAppId}, {L"MODULE", L"[#QuillsetX86.dll]"}, {L"ADDINROOT", L"HKLM"}}, include, error))
        << std::string(error.begin(), error.end());
    for (const std::wstring& row : {
             std::wstring(L"Root=\"HKCR\" Key=\"CLSID\\{7EEF936A-F221-4F46-8C29-92821BB74D7B}\\InprocServer32\" "
                          L"Type=\"string\" Value=\"[#QuillsetX86.dll]\"/>"),
             std::wstring(L"Root=\"HKCR\" Key=\"CLSID\\{7EEF936A-F221-4F46-8C29-92821BB74D7B}\\InprocServer32\" "
                          L"Name=\"ThreadingModel\" Type=\"string\" Value=\"Apartment\"/>"),
             std::wstring(L"Root=\"HKCR\" Key=\"AppID\\Quillset.DLL\" Name=\"AppID\" Type=\"string\" Value=\"") +
                 kAppId + L"\"/>",
             std::wstring(L"Root=\"HKCR\" Key=\"Quillset.PowerPointAdd\\CurVer\" Type=\"string\" "
                          L"Value=\"Quillset.PowerPointA.1\"/>"),
             std::wstring(L"Root=\"HKLM\" Key=\"Software\\Microsoft\\Office\\PowerPoint\\Addins\\"
                          L"Quillset.PowerPointAdd\" Name=\"LoadBehavior\" Type=\"integer\" Value=\"3\"/>")})
        EXPECT_NE(include.find(row), std::wstring::npos) << std::string(row.begin(), row.end());
    EXPECT_EQ(include.find(L"HKCU"), std::wstring::npos);
}

TEST(WixRegistryRows, ScriptTextIsLiteralAndReplacementsAreFormatted) {
    std::wstring include, error;
    ASSERT_TRUE(WixRegistryRows::Build({L"HKCR { 'K[1]' = s 'a[b]&\"<%F%>' { val 'n&' = s '%F%' } }"},
                                       {{L"F", L"[#File]"}}, include, error));
    EXPECT_NE(include.find(L"Key=\"K[\\[]1[\\]]\" Type=\"string\" Value=\"a[\\[]b[\\]]&amp;&quot;&lt;[#File]&gt;\""),
              std::wstring::npos)
        << std::string(include.begin(), include.end());
    EXPECT_NE(include.find(L"Name=\"n&amp;\" Type=\"string\" Value=\"[#File]\""), std::wstring::npos);
    EXPECT_FALSE(WixRegistryRows::Build({L"HKCR { 'unclosed' = s 'x' "}, {}, include, error));
    EXPECT_FALSE(error.empty());
}

#include "RibbonXml.h"

const wchar_t* const RibbonXml::kNamespace = L"http://schemas.microsoft.com/office/2006/01/customui";
const wchar_t* const RibbonXml::kPresentationRibbon = L"Microsoft.PowerPoint.Presentation";
const wchar_t* const RibbonXml::kOnLoad = L"QuillsetRibbonLoaded";
const wchar_t* const RibbonXml::kOnAction = L"QuillsetConvertClicked";
const wchar_t* const RibbonXml::kGetImage = L"QuillsetConvertImage";
const wchar_t* const RibbonXml::kButtonId = L"QuillsetConvert";
const wchar_t* const RibbonXml::kButtonLabel = L"Vellumark 5.0";
const wchar_t* const RibbonXml::kKeyTip = L"QV";

std::wstring RibbonXml::For(const std::wstring& ribbonId) {
    if (ribbonId != kPresentationRibbon) return {};
    // No insertAfterMso: a group without one goes after the tab's built-in groups.
    return std::wstring(L"<customUI xmlns=\"") + kNamespace + L"\" onLoad=\"" + kOnLoad +
           L"\">"
           L"<ribbon><tabs><tab idMso=\"TabHome\">"
           L"<group id=\"QuillsetGroup\" label=\"Vellumark\">"
           L"<button id=\"" +
           kButtonId + L"\" label=\"" + kButtonLabel + L"\" size=\"large\" keytip=\"" + kKeyTip +
           L"\" tag=\"Vellumark 5.0\""
           L" screentip=\"Convert to PDF\""
           L" supertip=\"Turns this presentation, as last saved, into a PDF file: choose the folder, the "
           L"document information, passwords and permissions, and the compression.\""
           L" getImage=\"" +
           kGetImage + L"\" onAction=\"" + kOnAction +
           L"\"/>"
           L"</group></tab></tabs></ribbon></customUI>";
}

#pragma once
// RAII for the OLE Automation value types: BSTR and VARIANT.
#include <oleauto.h>

#include <string>
#include <utility>

class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(const std::wstring& text)
        : m_bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~UniqueBstr() { SysFreeString(m_bstr); }
    UniqueBstr(UniqueBstr&& other) noexcept : m_bstr(std::exchange(other.m_bstr, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept {
        std::swap(m_bstr, other.m_bstr);
        return *this;
    }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;

    BSTR Get() const { return m_bstr; }
    BSTR* Put() {
        SysFreeString(std::exchange(m_bstr, nullptr));
        return &m_bstr;
    }
    BSTR Detach() { return std::exchange(m_bstr, nullptr); }
    std::wstring Text() const { return m_bstr ? std::wstring(m_bstr, SysStringLen(m_bstr)) : std::wstring(); }

private:
    BSTR m_bstr = nullptr;
};

class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&m_value); }
    ~UniqueVariant() { VariantClear(&m_value); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    static UniqueVariant Int(LONG value) {
        UniqueVariant v;
        v.m_value.vt = VT_I4;
        v.m_value.lVal = value;
        return v;
    }
    static UniqueVariant Short(SHORT value) {
        UniqueVariant v;
        v.m_value.vt = VT_I2;
        v.m_value.iVal = value;
        return v;
    }
    static UniqueVariant Bool(bool value) {
        UniqueVariant v;
        v.m_value.vt = VT_BOOL;
        v.m_value.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        return v;
    }
    static UniqueVariant String(const std::wstring& text) {
        UniqueVariant v;
        v.m_value.vt = VT_BSTR;
        v.m_value.bstrVal = UniqueBstr(text).Detach();
        return v;
    }
    // An optional argument left out, as automation callers mark it.
    static UniqueVariant Missing() {
        UniqueVariant v;
        v.m_value.vt = VT_ERROR;
        v.m_value.scode = DISP_E_PARAMNOTFOUND;
        return v;
    }
    UniqueVariant(UniqueVariant&& other) noexcept : m_value(other.m_value) { VariantInit(&other.m_value); }

    VARIANT* Get() { return &m_value; }
    const VARIANT& Value() const { return m_value; }
    VARIANT* Put() {
        VariantClear(&m_value);
        return &m_value;
    }

private:
    VARIANT m_value;
};

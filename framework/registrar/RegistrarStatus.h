#pragma once
// Outcome of parsing or applying a script. Nothing throws out of the registrar:
// failures come back as a Win32 system error code with a message for logs.
#include <cstdint>
#include <string>
#include <utility>

#include "RegistryStore.h"

class RegistrarStatus {
public:
    static RegistrarStatus Ok() { return RegistrarStatus(); }
    static RegistrarStatus Failure(std::uint32_t code, std::wstring message) {
        return RegistrarStatus(code, std::move(message));
    }

    bool IsOk() const { return m_code == RegistryCode::kOk; }
    std::uint32_t Code() const { return m_code; }
    const std::wstring& Message() const { return m_message; }

private:
    RegistrarStatus() = default;
    RegistrarStatus(std::uint32_t code, std::wstring message) : m_code(code), m_message(std::move(message)) {}

    std::uint32_t m_code = RegistryCode::kOk;
    std::wstring m_message;
};

#pragma once
// One entry of the users file ("<database>.rgs"): 66 bytes, no header, entry i at 66 x i.
// Packed and unpacked byte by byte.

#include <cstdint>
#include <cstring>
#include <string>

constexpr uint32_t USER_REG_SIZE = 66;
constexpr uint32_t USER_REG_TEXT_SIZE = 32;
// Longest user ID or password a stored entry can hold (the 32-byte field keeps its NUL).
constexpr uint32_t USER_TEXT_MAX = USER_REG_TEXT_SIZE - 1;
// Longest password every prompt takes: as many characters as an entry can hold.
constexpr int USER_PASSWORD_MAX = static_cast<int>(USER_TEXT_MAX);
// User codes are 1 to 126; a list never reaches 127 entries.
constexpr uint32_t USER_CODE_LIMIT = 127;
// The access level of an entry whose level has not been chosen yet.
constexpr uint8_t USER_LEVEL_NONE = 255;

struct stUserRegData {
    char szUserID[USER_REG_TEXT_SIZE] = {};
    char szPassword[USER_REG_TEXT_SIZE] = {};
    uint8_t nUserCode = 0;
    uint8_t nAccessLevel = 0;

    std::string GetUserID() const { return TextOf(szUserID); }
    std::string GetPassword() const { return TextOf(szPassword); }
    // Stores the text, cut to what the field holds with its NUL.
    void SetUserID(const std::string& text) { Store(szUserID, text); }
    void SetPassword(const std::string& text) { Store(szPassword, text); }

    void Pack(uint8_t out[USER_REG_SIZE]) const
    {
        std::memcpy(out, szUserID, USER_REG_TEXT_SIZE);
        std::memcpy(out + USER_REG_TEXT_SIZE, szPassword, USER_REG_TEXT_SIZE);
        out[64] = nUserCode;
        out[65] = nAccessLevel;
    }
    void Unpack(const uint8_t in[USER_REG_SIZE])
    {
        std::memcpy(szUserID, in, USER_REG_TEXT_SIZE);
        std::memcpy(szPassword, in + USER_REG_TEXT_SIZE, USER_REG_TEXT_SIZE);
        nUserCode = in[64];
        nAccessLevel = in[65];
    }
    // An entry the users file may hold: both texts NUL-terminated within their fields, code 1 to
    // 126, level at most 10.
    bool IsAcceptable() const
    {
        return std::memchr(szUserID, 0, USER_REG_TEXT_SIZE) != nullptr &&
               std::memchr(szPassword, 0, USER_REG_TEXT_SIZE) != nullptr && nUserCode >= 1 &&
               nUserCode < USER_CODE_LIMIT && nAccessLevel <= 10;
    }

private:
    static std::string TextOf(const char (&field)[USER_REG_TEXT_SIZE])
    {
        const void* end = std::memchr(field, 0, USER_REG_TEXT_SIZE);
        size_t n = end ? static_cast<size_t>(static_cast<const char*>(end) - field) : USER_REG_TEXT_SIZE;
        return std::string(field, n);
    }
    static void Store(char (&field)[USER_REG_TEXT_SIZE], const std::string& text)
    {
        std::memset(field, 0, USER_REG_TEXT_SIZE);
        std::memcpy(field, text.data(), text.size() < USER_TEXT_MAX ? text.size() : USER_TEXT_MAX);
    }
};

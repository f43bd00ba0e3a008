// CDatabase: the users file ("<database>.rgs"), log-on, switching users, and the user list.

#include "database/Database.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "common/Diagnostic.h"
#include "database/LanServer.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/ui/Application.h"
#include "platform/ui/ListBox.h"

namespace {

// Users files are readable and writable by owner and group only.
constexpr unsigned kUsersFileMode = 0660;

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

void CDatabase::SetCurrentUser(uint8_t code, uint8_t level)
{
    SetStampUserCode(code);
    SetUserAccessLevel(level);
}

// ---------------------------------------------------------------------------------------------
// The users file

int CDatabase::LoadRegistration(const std::string& databaseName, int newSetup)
{
    const std::string fileName = databaseName + ".rgs";
    if (newSetup == 1) {
        if (host::FileExists(fileName)) {
            GetResponse(Format("Registration file %s already exists. Aborting new setup.", fileName.c_str()), MB_OK);
            return 0;
        }
        m_sDatabaseName = databaseName;
        m_aUsers.clear();
        AddUser(1);
    }
    if (!host::FileExists(fileName)) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticString("Exit CDatabase::LoadRegistration registration file not found\n");
        GetResponse(Format("Can't find registration file %s", fileName.c_str()), MB_OK);
        m_sDatabaseName.clear();
        return 0;
    }
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::LoadRegistration registration file %s\n", fileName.c_str());
    host::File file;
    if (!file.OpenReadOnly(fileName)) {
        if (DiagnosticLevel > 0) WriteDiagnosticString("Exit CDatabase::TestRegistration NOT OK\n");
        GetResponse(Format("Can't open registration file %s", fileName.c_str()), MB_OK);
        m_sDatabaseName.clear();
        return 0;
    }
    m_aUsers.clear();
    uint32_t loc = 0;
    uint8_t raw[USER_REG_SIZE];
    while (ReadFileBlockNoLock(file, loc, raw, USER_REG_SIZE) == USER_REG_SIZE) {
        stUserRegData entry;
        entry.Unpack(raw);
        if (entry.IsAcceptable()) {
            if (FindUserIndex(entry.nUserCode) >= 0) {
                if (DiagnosticLevel > 0)
                    WriteDiagnosticFormat("**Not adding user %s, code %u already in list, file loc %u\n",
                                          entry.GetUserID().c_str(), entry.nUserCode, loc);
            } else {
                if (DiagnosticLevel > 0)
                    WriteDiagnosticFormat("**Adding user %s, file loc %u\n", entry.GetUserID().c_str(), loc);
                m_aUsers.push_back(entry);
            }
        }
        loc += USER_REG_SIZE;
    }
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("**Ending add loop, file loc %u\n", loc);
    file.Close();
    m_sDatabaseName = databaseName;
    RebuildUserLists();
    return 1;
}

void CDatabase::SaveRegistration(const std::string& databaseName)
{
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::SaveRegistration, Timer=%s\n", GetTimerText().c_str());
    const std::string fileName = databaseName + ".rgs";
    // Written whole beside the old file, then put in its place: a failed write leaves the old
    // file as it was, so nobody is locked out.
    const std::string tempName = fileName + ".new";
    host::File file;
    bool ok = file.Open(tempName, host::File::Access::ReadWrite, host::File::Disposition::CreateAlways,
                        kUsersFileMode);
    if (ok) {
        uint8_t raw[USER_REG_SIZE];
        for (size_t i = 0; i < m_aUsers.size() && ok; ++i) {
            if (DiagnosticLevel > 0) WriteDiagnosticFormat("**Saving user %s\n", m_aUsers[i].GetUserID().c_str());
            m_aUsers[i].Pack(raw);
            ok = WriteFileBlockUnflushed(file, static_cast<uint32_t>(i * USER_REG_SIZE), raw, USER_REG_SIZE) ==
                 USER_REG_SIZE;
        }
        ok = ok && file.Flush();
        ok = file.Close() && ok;
    }
    const bool existed = host::FileExists(fileName);
    if (ok) ok = host::ReplaceFile(tempName, fileName);
    if (!ok) {
        host::DeleteFile(tempName);
        if (DiagnosticLevel > 0) WriteDiagnosticString("Exit CDatabase::SaveRegistration NOT OK\n");
        GetResponse(Format("Can't open registration file %s for save", fileName.c_str()), MB_OK);
        return;
    }
    if (existed && DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::SaveRegistration, deleted file %s\n", fileName.c_str());
}

// ---------------------------------------------------------------------------------------------
// Log-on and switching users

int CDatabase::TestRegistration(const std::string& databaseName, int newSetup)
{
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::TestRegistration, Timer=%s\n", GetTimerText().c_str());
    if (!LoadRegistration(databaseName, newSetup)) return 0;
    for (;;) {
        if (DiagnosticLevel > 0) WriteDiagnosticString("CDatabase::TestRegistration before password\n");
        std::string password;
        if (!Ui().AskPassword(GetFileTitle(databaseName), password)) return 0;
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabase::TestRegistration got password %s\n", password.c_str());
        ui::Application::PumpMessages();
        for (const stUserRegData& user : m_aUsers) {
            if (!EqualIgnoringCase(user.GetPassword(), password)) continue;
            SetCurrentUser(user.nUserCode, user.nAccessLevel);
            if (DiagnosticLevel > 0)
                WriteDiagnosticFormat("CDatabase::TestRegistration valid password %s\n", password.c_str());
            return 1;
        }
        if (GetResponse("Password not recognized. Try again?", MB_YESNO) != IDYES) return 0;
    }
}

int CDatabase::SwitchUsers()
{
    // Only a real change of user counts; Escape changes nothing and reports no switch.
    if (!Ui().SwitchUser(*this)) return 0;
    if (m_fnLanSendLog || HasLanLink()) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabase::SwitchUsers, send %s at Timer=%s\n", "LOG_ON_SWITCH_USER",
                                  GetTimerText().c_str());
        if (m_fnLanSendLog)
            m_fnLanSendLog("LOG_ON_SWITCH_USER");
        else
            SendLogMessage("LOG_ON_SWITCH_USER");
    }
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Maintaining the list

void CDatabase::EditUserList()
{
    Ui().EditUserList(*this);
}

int CDatabase::AddUser(int firstUser)
{
    const uint8_t code = GetNextUserCode();
    if (m_aUsers.size() >= USER_CODE_LIMIT || code >= USER_CODE_LIMIT) {
        GetResponse("Number of users exceeds maximum.", MB_OK);
        return 0;
    }
    stUserRegData entry;
    entry.nUserCode = code;
    entry.nAccessLevel = USER_LEVEL_NONE;
    if (!Ui().EditUserEntry(*this, entry, firstUser == 1 ? 1 : 0)) return 0;
    m_aUsers.push_back(entry);
    SaveRegistration(m_sDatabaseName);
    RebuildUserLists();
    return 1;
}

void CDatabase::EditUser(int position)
{
    if (position < 0 || static_cast<size_t>(position) >= m_aUsers.size()) return;
    stUserRegData entry = m_aUsers[position];
    if (!Ui().EditUserEntry(*this, entry, entry.nAccessLevel == 10 ? 1 : 0)) return;
    m_aUsers[position] = entry;
    SaveRegistration(m_sDatabaseName);
    RebuildUserLists();
}

void CDatabase::DeleteUser(uint8_t userCode)
{
    if (userCode == GetCurrentUserCode()) {
        GetResponse("Can not delete current user.", MB_OK);
        return;
    }
    int at = FindUserIndex(userCode);
    if (at >= 0) m_aUsers.erase(m_aUsers.begin() + at);
    SaveRegistration(m_sDatabaseName);
    RebuildUserLists();
}

int CDatabase::CheckDuplicateUser(uint8_t userCode, const std::string& userID, const std::string& password)
{
    for (const stUserRegData& user : m_aUsers) {
        if (user.nUserCode == userCode) continue;
        if (user.GetUserID() == userID) {
            GetResponse(Format("Duplicate user ID: %s", userID.c_str()), MB_OK);
            return 0;
        }
        // The log-on ignores case, so passwords differing only in case would be one password.
        if (EqualIgnoringCase(user.GetPassword(), password)) {
            GetResponse(Format("Duplicate user password: %s", password.c_str()), MB_OK);
            return 0;
        }
    }
    return 1;
}

bool CDatabase::GetUserOnlineState(uint8_t userCode, std::string* computer)
{
    if (userCode == GetCurrentUserCode()) {
        if (computer) *computer = GetThisComputerLabel();
        return true;
    }
    std::string where;
    const bool online = m_fnLanUserOnline ? m_fnLanUserOnline(userCode, where) : IsUserOnLan(userCode, where);
    if (online) {
        if (computer) *computer = where;
        return true;
    }
    return false;
}

void CDatabase::FillUserOnlineList(ui::ListBox* list)
{
    if (list == nullptr) return;
    for (const stUserRegData& user : m_aUsers) {
        std::string computer;
        std::string line = GetUserOnlineState(user.nUserCode, &computer)
                               ? Format("%i: %s On-line on %s", user.nUserCode, user.GetUserID().c_str(), computer.c_str())
                               : Format("%i: %s Off-line", user.nUserCode, user.GetUserID().c_str());
        int at = list->AddString(line);
        list->SetItemData(at, user.nUserCode);
    }
}

void CDatabase::StopLan()
{
    StopLanServer();
}

bool CDatabase::RestartLan()
{
    if (!IsOpen()) return false;
    return InitializeLan(GetFileName()) && HasLanLink();
}

std::string CDatabase::GetThisComputerLabel() const
{
    return GetComputerName().empty() ? GetThisComputerName() : GetComputerName();
}

// ---------------------------------------------------------------------------------------------
// Lookups over the user list

std::string CDatabase::GetUserName(uint32_t userCode) const
{
    for (const stUserRegData& user : m_aUsers)
        if (user.nUserCode == userCode) return user.GetUserID();
    return CDbEngine::GetUserName(userCode);
}

uint32_t CDatabase::UserCodeOfKey(uint32_t key) const
{
    if (key == LOC_NONE) return GetCurrentUserCode();
    uint8_t type = 0;
    uint32_t number = 0;
    SplitTypedKey(key, type, number);
    return static_cast<uint32_t>(type) + 1;
}

void CDatabase::RebuildUserLists()
{
    m_aUserCodes.clear();
    m_aUserIDs.clear();
    m_aUserPasswords.clear();
    for (const stUserRegData& user : m_aUsers) {
        m_aUserCodes.push_back(user.nUserCode);
        m_aUserIDs.push_back(user.GetUserID());
        m_aUserPasswords.push_back(user.GetPassword());
    }
}

uint8_t CDatabase::GetNextUserCode() const
{
    uint32_t highest = 0;
    for (const stUserRegData& user : m_aUsers) highest = std::max<uint32_t>(highest, user.nUserCode);
    return static_cast<uint8_t>(std::min<uint32_t>(highest + 1, 255));
}

int CDatabase::FindUserIndex(uint8_t userCode) const
{
    for (size_t i = 0; i < m_aUsers.size(); ++i)
        if (m_aUsers[i].nUserCode == userCode) return static_cast<int>(i);
    return -1;
}

// The student text import: one student per line, then the person table alphabetized and each
// imported person linked to the person named as the one who referred them.

#include <algorithm>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "studio/IifReader.h"
#include "widgets/DialogWaitBox.h"

std::string CDatabase::CapitalizeWords(const std::string& text)
{
    std::string unquoted = text;
    unquoted.erase(std::remove(unquoted.begin(), unquoted.end(), '"'), unquoted.end());
    std::vector<std::string> words;
    CIifReader::SplitFields(unquoted, ' ', words);
    std::string out;
    for (const std::string& word : words) out += Capitalize(word) + " ";
    return CIifReader::TrimRight(out);
}

std::string CDatabase::DetectFieldDelimiter(const std::string& line, int minimum)
{
    const std::string separator = CIifReader::ChooseSeparator(line, "\t;|", static_cast<size_t>(std::max(minimum, 0)));
    if (separator.empty()) GetResponse("Improperly formatted records.", MB_OK);
    return separator;
}

DATE CDatabase::ParseImportDate(const std::string& text)
{
    std::vector<std::string> parts;
    CIifReader::SplitFields(text, '/', parts);
    if (parts.size() == 3) {
        const DATE date = MakeDate(std::atoi(parts[2].c_str()), std::atoi(parts[0].c_str()),
                                   std::atoi(parts[1].c_str()), 0, 0);
        if (date != 0.0) return date;
    }
    return GetNow();
}

int32_t CDatabase::ImportStudentTextFile(const std::string& line)
{
    if (m_sFieldSeparator.empty()) return -1;
    std::vector<std::string> f;
    CIifReader::SplitFields(line, m_sFieldSeparator[0], f);
    if (f.size() < 12) return -1;
    const std::string first = CIifReader::Trim(CapitalizeWords(f[0]));
    const std::string last = CIifReader::Trim(CapitalizeWords(f[1]));
    const int32_t found = FindOrAddPerson(first, last, 0);
    if (last.empty() || found != -1) return found;
    auto* person = new CPerson('C');
    person->m_cSex = 0;
    person->m_sFirstName = first;
    person->m_sLastName = last;
    const DATE date = ParseImportDate(f[2]);
    person->m_dStamp1Date = date;
    person->m_dStamp2Date = date;
    person->m_sPhone1 = NormalizePhoneNumber(f[3]);
    person->m_sPhone2 = NormalizePhoneNumber(f[4]);
    person->m_sAddress1 = CapitalizeWords(f[5]);
    person->m_sCity = CapitalizeWords(f[6]);
    person->m_sState = f[7];
    person->m_sZip = f[8];
    person->m_sEmail = f[9];
    person->m_cStatus = f[11].empty() ? 0 : f[11][0];
    const uint32_t code = AddImportedItem(TABLE_PERSON, person);
    if (code == NO_CODE) return -1;
    if (m_bImportNames) AddImportName(*person);
    if (!f[10].empty()) m_mapReferrals[code] = f[10];
    return static_cast<int32_t>(code);
}

void CDatabase::LinkImportedReferrals(CDialogWaitBox* waitBox)
{
    const size_t lineCount = m_aImportLines.size();
    for (size_t i = 0; i < lineCount; ++i) {
        if (waitBox && waitBox->SetStepPercent(static_cast<float>(i + 1) * 100.0f / static_cast<float>(lineCount)) != 0)
            break;
        if (i == 0) {
            m_sFieldSeparator = DetectFieldDelimiter(m_aImportLines[0], 12);
            if (m_sFieldSeparator.empty()) return;
        }
        ImportStudentTextFile(m_aImportLines[i]);
    }
    if (waitBox) waitBox->SetStepText("Alphabetizing");
    if (LockAndRefreshDatabase("save sequence data", TABLE_PERSON, 0, 0, 0)) {
        SortRecordsPerson();
        ReleaseDatabaseLock();
    }
    if (waitBox) waitBox->SetStepText("Linking to referrals");
    // Only persons with a referral text change; the codes are taken first, as saving refreshes.
    std::vector<uint32_t> codes;
    for (const stIndex& e : m_aIndex[TABLE_PERSON])
        if (m_mapReferrals.count(e.nCode) != 0) codes.push_back(e.nCode);
    for (size_t i = 0; i < codes.size(); ++i) {
        if (waitBox && waitBox->SetStepPercent(static_cast<float>(i + 1) * 100.0f / static_cast<float>(codes.size())) != 0)
            break;
        auto it = m_mapReferrals.find(codes[i]);
        if (it == m_mapReferrals.end()) continue;
        const std::string text = it->second;
        m_mapReferrals.erase(it);
        std::vector<std::string> parts;
        CIifReader::SplitFields(text, ' ', parts);
        int32_t referrer = -1;
        if (parts.size() == 2)
            referrer = FindOrAddPerson(CIifReader::Trim(CapitalizeWords(parts[0])),
                                       CIifReader::Trim(CapitalizeWords(parts[1])), 0);
        // Saved under the person's record lock, as an edit is.
        if (IsFileReplaced() || !m_aRefreshFlags.empty()) LockAndRefreshDatabase("refresh database", 0, 0, 0, 1);
        const host::FileId lockedFile = GetFile().Identity();
        const uint32_t lockedAt = LockRecord(TABLE_PERSON, codes[i]);
        if (lockedAt == LOC_NONE) continue;
        ChangeItem(TABLE_PERSON, codes[i], [&](void* copy) {
            auto* person = static_cast<CPerson*>(copy);
            if (referrer >= 0) {
                person->m_nReferredBy = static_cast<uint32_t>(referrer);
                if (DiagnosticLevel > 0)
                    WriteDiagnosticString(Format("????Added reference %s %s for %s %s\n", parts[0].c_str(),
                                                 parts[1].c_str(), person->m_sFirstName.c_str(),
                                                 person->m_sLastName.c_str()));
            } else {
                person->m_Notes.push_back(Format("Referred by: %s", text.c_str()));
            }
            return true;
        });
        if (GetFile().Identity() == lockedFile) UnlockRecord(lockedAt);
        else SendUnlockNotice(TABLE_PERSON, codes[i]);
    }
}

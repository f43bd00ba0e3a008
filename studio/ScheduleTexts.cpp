// CDatabase: the kind, short and long texts of a schedule entry.

#include "studio/ScheduleTexts.h"

#include "common/Diagnostic.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "studio/PersonLookup.h"

namespace {

// Two names joined for the texts: the teacher or other party first, then the student or person.
struct stNames {
    std::string shortForm;
    std::string fullForm;
};

stNames JoinNames(const std::string& first, const std::string& second)
{
    return {JoinWithSlash(FormatInitialName(first), FormatInitialName(second)), JoinWithSlash(first, second)};
}

template <class T>
const T* At(const OwnedList<T>& list, int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return nullptr;
    return list[static_cast<size_t>(index)].get();
}

}  // namespace

void CDatabase::MakeScheduleText(const stDataToken* entry, std::string& kindText, std::string& shortText,
                                 std::string& longText, int32_t withTeacher)
{
    MakeEntryTexts(*this, nullptr, entry, kindText, shortText, longText, withTeacher);
}

void MakeEntryTexts(CDatabase& database, const CPersonLookup* persons, const stDataToken* entry, std::string& kindText,
                    std::string& shortText, std::string& longText, int32_t withTeacher)
{
    kindText.clear();
    shortText.clear();
    longText.clear();
    if (entry == nullptr) return;
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("In CDatabase::MakeScheduleText, %s\n", FormatTokenText(*entry).c_str());
    if (entry->record == nullptr) return;
    // "First Last" of a person, "" for none.
    auto nameOf = [&](uint32_t code) {
        std::string name;
        if (code == NO_CODE) return name;
        if (persons != nullptr)
            name = persons->GetName(code);
        else
            database.GetPersonName(name, code, 0);
        return name;
    };
    auto teacherOf = [&](uint32_t code) { return withTeacher == 1 ? nameOf(code) : std::string(); };

    switch (entry->type) {
    case 'S':
    case 's': {
        const CScheduleRecord& record = *static_cast<const CScheduleRecord*>(entry->record);
        const stNames names = JoinNames(teacherOf(record.m_nTeacher), nameOf(record.m_nStudent));
        kindText = record.GetRepeatText();
        shortText = names.shortForm.empty() ? record.m_sText
                                            : Format("%s, %s", names.shortForm.c_str(), record.m_sText.c_str());
        longText = names.fullForm.empty() ? record.m_sText
                                          : Format("%s, %s", names.fullForm.c_str(), record.m_sText.c_str());
        break;
    }
    case 'T': {
        const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry->record);
        const CPurchaseItem* item = At(purchase.m_Items, entry->index1);
        const CScheduleToken* token = item != nullptr ? At(item->m_Tokens, entry->index2) : nullptr;
        if (token == nullptr) return;
        const std::string typeName = item->GetTypeName(&database);
        kindText = token->m_cKind == 'T' ? Format("Unlim. %s", typeName.c_str()) : Capitalize(typeName);
        const stNames names = JoinNames(teacherOf(token->m_nField8), nameOf(purchase.m_nPerson));
        shortText = Format(token->m_cState == 'U' ? "*%s, %s" : "%s, %s", names.shortForm.c_str(), kindText.c_str());
        const char* full = names.fullForm.c_str();
        const char* itemName = item->m_sName.c_str();
        if (token->m_cState == 'c') {
            longText = Format("[%s, %s] cancelled", full, itemName);
        } else if (item->m_cKind == 'N') {
            longText = Format("%s, %s, %u left", full, itemName, item->GetUnusedCount());
        } else if (item->m_cKind == 'T') {
            // A time-limited item runs its days from the purchase's start.
            const DATE ending = AddToDate(purchase.m_dStartDate, item->m_nCount, 0, 0, 0);
            longText = Format("%s, %s, ending %s", full, itemName, FormatDateTime(ending, "%m/%d/%Y").c_str());
        } else {
            longText = Format("%s, %s", full, itemName);
        }
        if (entry->count > 1) longText += Format(" (%u items unscheduled)", entry->count);
        break;
    }
    case '$': {
        const CPriceListItem& item = *static_cast<const CPriceListItem*>(entry->record);
        std::string typeName;
        kindText = item.m_nBasicType != NO_CODE && database.LookupCategoryName(item.m_nBasicType, typeName)
                       ? Capitalize(typeName)
                       : std::string("No basic type");
        shortText = item.m_sName;
        longText = item.m_sName;
        break;
    }
    case 'p': {
        const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry->record);
        const CSchedulePayment* payment = At(purchase.m_Payments, entry->index1);
        if (payment == nullptr) return;
        const std::string payer = nameOf(purchase.m_nPerson);
        kindText = Format("Payment $%.2f", payment->m_dAmount);
        shortText = Format(payment->m_cKind == 'R' ? "*%s, %s" : "%s, %s", FormatInitialName(payer).c_str(),
                           kindText.c_str());
        longText = Format("%s %s", payer.c_str(), purchase.m_sDescription.c_str());
        break;
    }
    case 'P': {
        const CPaymentRecord& payment = *static_cast<const CPaymentRecord*>(entry->record);
        kindText = Format(payment.m_cType == 'P' ? "Payment by studio $%.2f" : "Payment to studio $%.2f",
                          payment.m_dAmount);
        shortText = Format(payment.m_cReceived == 'R' ? "*Payment, %s" : "Payment, %s",
                           FormatInitialName(payment.m_sName).c_str());
        longText = Format("%s %s", payment.m_sName.c_str(), payment.m_sText.c_str());
        break;
    }
    case 'B':
    case 'A': {
        const CPerson& person = *static_cast<const CPerson*>(entry->record);
        const std::string name = nameOf(person.m_nCode);
        kindText = entry->type == 'B' ? "Birthday" : "Anniversary";
        const char* pattern = entry->type == 'B' ? "%s, Birthday" : "%s, Anniversary";
        shortText = Format(pattern, FormatInitialName(name).c_str());
        longText = Format(pattern, name.c_str());
        break;
    }
    case 'D':
    case 'M':
    case 'N': {
        const CPerson& person = *static_cast<const CPerson*>(entry->record);
        const CInterview* interview = At(person.m_Interviews, entry->index1);
        if (interview == nullptr) return;
        const std::string name = nameOf(person.m_nCode);
        if (entry->type == 'D') {
            kindText = "Deadline";
            shortText = Format("%s, Deadline", FormatInitialName(name).c_str());
            longText = Format("%s, Lesson based on interview", name.c_str());
        } else if (entry->type == 'M') {
            const stNames names = JoinNames(nameOf(interview->m_nField17), name);
            kindText = "Mail out";
            shortText = Format("%s, Mailout", names.shortForm.c_str());
            longText = Format("%s, Mailout based on interview", names.fullForm.c_str());
        } else {
            const stNames names = JoinNames(nameOf(interview->m_nField4), name);
            kindText = interview->m_cField19 == 'P' ? "Phone" : interview->m_cField19 == 'V' ? "Interview" : "Next contact";
            shortText = Format("%s, %s", names.shortForm.c_str(), kindText.c_str());
            longText = Format("%s, %s based on interview", names.fullForm.c_str(), kindText.c_str());
        }
        break;
    }
    default: break;
    }
}

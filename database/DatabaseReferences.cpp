// CDatabase: the table reference test (packages to price-list items) and the teacher activity
// records.

#include "database/Database.h"

#include <unordered_set>

#include "widgets/WindowList.h"
#include "platform/host/Format.h"

int CDatabase::TestTableReferences(std::vector<std::string>& report, int repair, int countOnly)
{
    CDialogWaitBox* box = ShowWaitBox("Testing database", false, 0);
    if (repair == 1)
        report.push_back("\t\tTable reference test and repair report");
    else
        report.push_back("Table reference test report [To repair problems use menu item 'Correct table references']");
    report.push_back("");
    uint32_t problems = 0;
    std::vector<stIndex>& packages = m_aIndex[TABLE_PACKAGE];
    for (size_t position = 0; position < packages.size(); ++position) {
        CPackageRecord* package = static_cast<CPackageRecord*>(packages[position].pItem);
        // Backwards, so that removing a code keeps the places of those not yet visited.
        for (size_t i = package->m_Items.size(); i-- > 0;) {
            const uint32_t code = package->m_Items[i];
            if (FindItemIndex(TABLE_PRICELIST, code) >= 0) continue;
            ++problems;
            if (repair != 1) {
                report.push_back(Format("Package %s references unknown price list item %u", package->m_sName.c_str(), code));
                continue;
            }
            report.push_back(
                Format("Package %s references unknown price list item %u. Remove it.", package->m_sName.c_str(), code));
            package->m_Items.erase(package->m_Items.begin() + static_cast<std::ptrdiff_t>(i));
            SaveModifiedItemAfterLock(TABLE_PACKAGE, package->m_nCode, package, static_cast<int>(position), 0);
        }
    }
    CloseWaitBox(box);
    if (problems == 0) {
        report.push_back("No problems found.");
        return 1;
    }
    if (countOnly == 1) {
        report.clear();
        report.push_back(Format("%u problems in table references", problems));
    }
    return 0;
}

void CDatabase::BuildTeacherActivityRecords(std::vector<stTeacherActivityData>& list, char kind)
{
    list.clear();
    // The supervisors: the codes active employees name as theirs (IsEmployeeLinked, in one pass).
    std::unordered_set<uint32_t> supervisors;
    if (kind == 'S')
        for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
            const CPerson* p = static_cast<const CPerson*>(e.pItem);
            if (p->m_cType == 'E' && p->m_cStatus == 'A') supervisors.insert(p->m_nCode28);
        }
    for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
        const CPerson* p = static_cast<const CPerson*>(e.pItem);
        if (p->m_cType != 'E' || p->m_cStatus != 'A') continue;
        if (kind == 'S' && supervisors.count(p->m_nCode) == 0) continue;
        stTeacherActivityData row;
        row.nPerson = static_cast<int32_t>(p->m_nCode);
        for (const stIndex& c : m_aIndex[TABLE_CATEGORY]) {
            const CCategory* category = static_cast<const CCategory*>(c.pItem);
            if (category->m_cType != 'B') continue;
            stActivityCount count;
            count.nCode = category->m_nCode;
            row.aActivities.push_back(count);
        }
        list.push_back(std::move(row));
    }
}

void CDatabase::AddPurchaseToTeacher(uint32_t teacherCode, const CPurchaseRecord& purchase, double divisor,
                                     std::vector<stTeacherActivityData>& list)
{
    for (stTeacherActivityData& row : list) {
        if (static_cast<uint32_t>(row.nPerson) != teacherCode) continue;
        const double share = purchase.GetTotal(0) / divisor;
        ++row.nTotalSales;
        row.dTotalSalesValue += share;
        if (purchase.m_nStatus != CPurchaseRecord::STATUS_ACTIVE) {
            ++row.nTotalCancellations;
            row.dTotalCancellationsValue += share;
        }
        return;
    }
}

void CDatabase::FreeTeacherActivityItems(std::vector<stTeacherActivityData>& list)
{
    for (stTeacherActivityData& row : list) {
        row.aActivities.clear();
        row.aActivities.shrink_to_fit();
    }
}

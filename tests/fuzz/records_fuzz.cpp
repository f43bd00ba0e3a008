// Fuzz target for the record readers: the first byte picks the record class, the rest is the
// record as the store would hand it over. A record that reads must write, and what it writes must
// read back and write again to the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "records/Category.h"
#include "records/MailList.h"
#include "records/PackageRecord.h"
#include "records/PaymentRecord.h"
#include "records/Person.h"
#include "records/PriceListItem.h"
#include "records/PurchaseRecord.h"
#include "records/RecordBuffer.h"
#include "records/ScheduleRecord.h"

namespace {

class BufferStore : public IRecordStore {
public:
    BufferStore() : m_buffer(RECORD_BUFFER_SIZE) {}
    void Load(const uint8_t* data, size_t size)
    {
        m_length = static_cast<uint32_t>(size < RECORD_BUFFER_SIZE ? size : RECORD_BUFFER_SIZE);
        if (m_length)
            std::memcpy(m_buffer.data(), data, m_length);
    }
    uint8_t* GetRecordBuffer() override { return m_buffer.data(); }
    uint32_t GetRecordLength() const override { return m_length; }
    uint32_t WriteRecord(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) override
    {
        return RECORD_WRITE_FAILED;
    }

private:
    std::vector<uint8_t> m_buffer;
    uint32_t m_length = 0;
};

template <class R>
void RoundTrip(const uint8_t* data, size_t size)
{
    BufferStore store;
    store.Load(data, size);
    R record;
    if (record.ReadRecord(store) == 0)
        return;
    uint32_t n = record.WriteRecord(store);
    if (n == 0)
        return;  // e.g. an older record grown past a block by the fields added since
    std::vector<uint8_t> first(store.GetRecordBuffer(), store.GetRecordBuffer() + n);
    store.Load(first.data(), first.size());
    R again;
    if (again.ReadRecord(store) != n)
        __builtin_trap();
    if (again.WriteRecord(store) != n || std::memcmp(store.GetRecordBuffer(), first.data(), n) != 0)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t* record = data + 1;
    size_t length = size - 1;
    switch (data[0] % 8) {
    case 0: RoundTrip<CCategory>(record, length); break;
    case 1: RoundTrip<CPerson>(record, length); break;
    case 2: RoundTrip<CMailList>(record, length); break;
    case 3: RoundTrip<CPriceListItem>(record, length); break;
    case 4: RoundTrip<CPackageRecord>(record, length); break;
    case 5: RoundTrip<CPurchaseRecord>(record, length); break;
    case 6: RoundTrip<CPaymentRecord>(record, length); break;
    case 7: RoundTrip<CScheduleRecord>(record, length); break;
    }
    return 0;
}

// Fuzz target for what another running copy sends: the receive framing cut at arbitrary points,
// then every line parsed and described as the message handler and its trace do.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "database/DbEngine.h"
#include "database/LanServer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    // The first byte says where the bytes are cut into two receives.
    const size_t cut = size > 1 ? data[0] % size : 0;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const size_t length = size - 1;
    CListeningThreadMemoryBuffer buffer;
    std::vector<std::string> lines = buffer.TakeReceived(bytes, cut < length ? cut : length);
    if (cut < length) {
        std::vector<std::string> more = buffer.TakeReceived(bytes + cut, length - cut);
        lines.insert(lines.end(), more.begin(), more.end());
    }
    for (const std::string& line : lines) {
        const stLanMessage message = CDbEngine::ParseLanMessage(line);
        (void)message;
        (void)CDbEngine::DescribeLanMessage(line);
    }
    return 0;
}

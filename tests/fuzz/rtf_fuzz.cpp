// Fuzz target for the rich-text reader: any input reads without reading past its end, and what
// the writer makes of the document reads back to the same text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ui/RtfDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    ui::RtfDocument doc;
    doc.Parse(input);
    ui::RtfDocument again;
    again.Parse(doc.ToRtf());
    if (again.PlainText() != doc.PlainText()) std::abort();
    return 0;
}

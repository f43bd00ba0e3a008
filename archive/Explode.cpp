// Explode: decoder of the implode stream.
//
// Bits are taken least significant first. The decoder keeps 8 bits of input ahead of
// the code it consumes: a code after which fewer than 8 bits of input remain fails the
// stream (the input broke off), except the end code, which may end exactly on the last
// bit of the input. A 64-bit buffer is kept filled from the 2048-byte input block so that
// a whole element can be decoded at once; at the end of the input the count of bits in
// it is the count of bits left.

#include <cstddef>
#include <cstring>

#include "archive/Pkware.h"
#include "archive/PkwareTables.h"

namespace {

constexpr unsigned int kInputBlock = 2048;
constexpr unsigned int kHistory = 4096;      // largest distance a stream can code
constexpr unsigned int kOutputBlock = 4096;  // written out each time it fills
constexpr unsigned int kKeepAhead = 8;       // bits of input kept ahead of each code

struct ExplodeWork {
    uint8_t input[kInputBlock + 8];
    // History, then new output, then room for one repetition and for 8-byte copies.
    uint8_t window[kHistory + kOutputBlock + kPkMaxLength + 16];
};
static_assert(sizeof(ExplodeWork) + alignof(ExplodeWork) <= kExplodeWorkSize,
              "explode state must fit the caller's work buffer");

// Lookup tables from the fixed codes, indexed by the next bits of the stream.
struct DecodeTables {
    uint8_t length[128];     // 7 bits: code index | bit count << 4
    uint16_t distance[256];  // 8 bits: high part | bit count << 8
    uint16_t ascii[8192];    // 13 bits: byte | bit count << 8
};

template <size_t N, typename Entry>
void FillTable(Entry (&table)[N], unsigned bits, unsigned code, unsigned value)
{
    for (unsigned i = code; i < N; i += 1u << bits)
        table[i] = static_cast<Entry>(value);
}

DecodeTables BuildTables()
{
    DecodeTables t{};
    for (unsigned i = 0; i < 16; ++i)
        FillTable(t.length, kPkLengthCodes[i].bits, kPkLengthCodes[i].code,
                  i | (kPkLengthCodes[i].bits << 4));
    for (unsigned i = 0; i < 64; ++i)
        FillTable(t.distance, kPkDistanceCodes[i].bits, kPkDistanceCodes[i].code,
                  i | (kPkDistanceCodes[i].bits << 8));
    for (unsigned i = 0; i < 256; ++i)
        FillTable(t.ascii, kPkAsciiCodes[i].bits, kPkAsciiCodes[i].code,
                  i | (kPkAsciiCodes[i].bits << 8));
    return t;
}

const DecodeTables& Tables()
{
    static const DecodeTables tables = BuildTables();
    return tables;
}

class Decoder {
public:
    Decoder(PkReadFn read, PkWriteFn write, ExplodeWork* work, void* param)
        : read_(read), write_(write), w_(work), param_(param) {}

    // Reads the first block; gives its size.
    unsigned int Start()
    {
        unsigned int size = kInputBlock;
        unsigned int got = read_(reinterpret_cast<char*>(w_->input), &size, param_);
        if (got > kInputBlock)
            got = kInputBlock;
        inLen_ = got;
        return got;
    }

    const uint8_t* Input() const { return w_->input; }

    // Decodes from the third input byte to the end code; writes all output.
    unsigned int Run(unsigned int type, unsigned int dictBits)
    {
        inPos_ = 2;
        // A repetition reaching before the first byte copies zeros.
        std::memset(w_->window, 0, kHistory);
        out_ = kHistory;
        const unsigned int result = Decode(type, dictBits);
        unsigned int size = out_ - kHistory;
        write_(reinterpret_cast<char*>(w_->window + kHistory), &size, param_);
        return result;
    }

private:
    void Refill()
    {
        while (bits_ <= 56) {
            if (inPos_ + 8 <= inLen_) {
                uint64_t v;
                std::memcpy(&v, w_->input + inPos_, 8);
                // Little-endian hosts only; the build targets them.
                buf_ |= v << bits_;
                inPos_ += (63 - bits_) >> 3;
                bits_ |= 56;
                return;
            }
            if (inPos_ == inLen_) {
                if (eof_)
                    return;
                unsigned int size = kInputBlock;
                unsigned int got = read_(reinterpret_cast<char*>(w_->input), &size, param_);
                if (got == 0 || got > kInputBlock) {
                    // 0 ends the input; a count larger than asked is not trusted.
                    eof_ = true;
                    return;
                }
                inPos_ = 0;
                inLen_ = got;
                continue;
            }
            buf_ |= static_cast<uint64_t>(w_->input[inPos_++]) << bits_;
            bits_ += 8;
        }
    }

    void FlushBlock()
    {
        unsigned int size = kOutputBlock;
        write_(reinterpret_cast<char*>(w_->window + kHistory), &size, param_);
        std::memmove(w_->window, w_->window + kOutputBlock, out_ - kOutputBlock);
        out_ -= kOutputBlock;
    }

    unsigned int Decode(unsigned int type, unsigned int dictBits)
    {
        const DecodeTables& t = Tables();
        uint8_t* const win = w_->window;
        for (;;) {
            // An element takes at most 30 bits and 8 more are kept ahead.
            if (bits_ < 38)
                Refill();
            // Every code below must leave kKeepAhead bits; `bits_` is what is left of the
            // input once it has ended, so the tests below find a stream that breaks off.
            const int avail = static_cast<int>(bits_);
            if (!(buf_ & 1)) {
                unsigned int used, value;
                if (type == kPkBinary) {
                    used = 9;
                    value = static_cast<unsigned int>(buf_ >> 1) & 0xFF;
                } else {
                    const unsigned e = t.ascii[(buf_ >> 1) & 0x1FFF];
                    used = 1 + (e >> 8);
                    value = e & 0xFF;
                }
                if (avail - static_cast<int>(used) < static_cast<int>(kKeepAhead))
                    return kPkAbort;
                Consume(used);
                win[out_++] = static_cast<uint8_t>(value);
            } else {
                const unsigned le = t.length[(buf_ >> 1) & 0x7F];
                const PkLengthCode& lc = kPkLengthCodes[le & 15];
                unsigned int used = 1 + (le >> 4);
                if (avail - static_cast<int>(used) < static_cast<int>(kKeepAhead))
                    return kPkAbort;
                const unsigned int length =
                    lc.base + (static_cast<unsigned int>(buf_ >> used) & ((1u << lc.extra) - 1));
                used += lc.extra;
                if (length == kPkEndLength)
                    return kPkOk;  // may end on the input's last bit
                if (avail - static_cast<int>(used) < static_cast<int>(kKeepAhead))
                    return kPkAbort;
                const unsigned de = t.distance[(buf_ >> used) & 0xFF];
                used += de >> 8;
                const unsigned int low = length == 2 ? 2 : dictBits;
                const unsigned int distance =
                    ((de & 63) << low) + (static_cast<unsigned int>(buf_ >> used) & ((1u << low) - 1)) + 1;
                used += low;
                if (avail - static_cast<int>(used) < static_cast<int>(kKeepAhead))
                    return kPkAbort;
                Consume(used);
                Copy(distance, length);
            }
            if (out_ >= kHistory + kOutputBlock)
                FlushBlock();
        }
    }

    void Consume(unsigned int n)
    {
        buf_ >>= n;
        bits_ -= n;
    }

    // Copies a repetition forward; overlapping copies repeat the pattern.
    void Copy(unsigned int distance, unsigned int length)
    {
        uint8_t* dst = w_->window + out_;
        const uint8_t* src = dst - distance;  // distance <= 4096 <= out_
        out_ += length;
        if (distance >= 8) {
            // 8 bytes at a time; may write up to 7 bytes past the end, inside the slack.
            for (unsigned int i = 0; i < length; i += 8)
                std::memcpy(dst + i, src + i, 8);
        } else {
            for (unsigned int i = 0; i < length; ++i)
                dst[i] = src[i];
        }
    }

    PkReadFn read_;
    PkWriteFn write_;
    ExplodeWork* w_;
    void* param_;
    unsigned int inPos_ = 0;
    unsigned int inLen_ = 0;
    bool eof_ = false;
    uint64_t buf_ = 0;
    unsigned int bits_ = 0;
    unsigned int out_ = 0;
};

}  // namespace

unsigned int Explode(PkReadFn read, PkWriteFn write, char* workBuffer, void* param)
{
    // Align the state inside the caller's buffer.
    const auto addr = reinterpret_cast<uintptr_t>(workBuffer);
    const uintptr_t pad = (alignof(ExplodeWork) - addr % alignof(ExplodeWork)) % alignof(ExplodeWork);
    auto* work = reinterpret_cast<ExplodeWork*>(workBuffer + pad);

    Decoder decoder(read, write, work, param);
    const unsigned int got = decoder.Start();
    const uint8_t* in = decoder.Input();
    // A stream is the two header bytes and at least the two bytes of the end code. An
    // empty input implodes to exactly four bytes, which expand to nothing.
    if (got < 4)
        return kPkBadData;
    const unsigned int type = in[0];
    const unsigned int dictBits = in[1];
    if (dictBits < 4 || dictBits > 6)
        return kPkBadDictSize;
    if (type > kPkAscii)
        return kPkBadType;
    if (got == 4 && !(in[2] == 0x01 && in[3] == 0xFF))
        return kPkBadData;
    return decoder.Run(type, dictBits);
}

// Implode: compressor of the implode stream.
//
// The input is read in chunks of 4096 bytes kept behind one dictionary of history. While
// more input may follow, the last 516 bytes of a chunk are left for the next pass, so
// every search sees its full length. Candidates for a repetition are earlier positions
// with the same byte pair, found through chains per pair hash (nearest first). The bytes
// behind the last input byte read as zeros, so the one-step lookahead, which compares
// lengths uncut, chooses the same way for the same input every time.

#include <cstddef>
#include <cstring>

#include "archive/Pkware.h"
#include "archive/PkwareTables.h"

namespace {

constexpr unsigned int kChunk = 4096;
constexpr unsigned int kMaxSearch = 516;     // longest repetition the search finds
constexpr unsigned int kMaxDict = 4096;
constexpr unsigned int kFrontMax = kMaxDict + kMaxSearch;  // history + uncoded tail
constexpr unsigned int kWindow = kFrontMax + kChunk;
constexpr unsigned int kHashSize = 2304;     // pair hash b0 * 4 + b1 * 5 < 2296
constexpr uint16_t kNone = 0xFFFF;
constexpr unsigned int kOutBlock = 2048;

struct ImplodeWork {
    uint16_t head[kHashSize];
    uint16_t prev[kWindow];
    // The window, then zeros to compare against behind the input.
    uint8_t window[kWindow + kMaxSearch + 8];
    uint8_t out[kOutBlock + 8];
};
static_assert(sizeof(ImplodeWork) + alignof(ImplodeWork) <= kImplodeWorkSize,
              "implode state must fit the caller's work buffer");

inline unsigned int PairHash(const uint8_t* p) { return p[0] * 4u + p[1] * 5u; }

// Length of the common run of a and b, at most kMaxSearch.
inline unsigned int MatchLength(const uint8_t* a, const uint8_t* b)
{
    unsigned int n = 0;
    while (n + 8 <= kMaxSearch) {
        uint64_t x, y;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y)
            return n + (__builtin_ctzll(x ^ y) >> 3);
        n += 8;
    }
    while (n < kMaxSearch && a[n] == b[n])
        ++n;
    return n;
}

class Encoder {
public:
    Encoder(PkReadFn read, PkWriteFn write, ImplodeWork* w, void* param, unsigned int type,
            unsigned int dictSize)
        : read_(read), write_(write), w_(w), param_(param), type_(type), dictSize_(dictSize)
    {
        dictBits_ = dictSize == 1024 ? 4 : dictSize == 2048 ? 5 : 6;
        front_ = dictSize + kMaxSearch;
        for (unsigned int len = kPkMinLength; len <= kPkEndLength; ++len)
            lengthIndex_[len] = static_cast<uint8_t>(LengthCodeOf(len));
    }

    void Run()
    {
        std::memset(w_->out, 0, sizeof w_->out);
        w_->out[0] = static_cast<uint8_t>(type_);
        w_->out[1] = static_cast<uint8_t>(dictBits_);
        outLen_ = 2;
        for (unsigned int i = 0; i < kHashSize; ++i)
            w_->head[i] = kNone;

        unsigned int pos = front_;   // next byte to code
        unsigned int ins = front_;   // next position to index
        unsigned int end = front_;
        bool first = true;
        for (;;) {
            const bool last = !FillChunk(end);
            if (first && last && end == front_)
                break;  // empty input: the end code follows the header
            first = false;
            if (last)
                std::memset(w_->window + end, 0, kMaxSearch + 8);
            Pass(pos, ins, end, last);
            if (last)
                break;
            Slide(pos, ins, end);
        }
        PutEnd();
    }

private:
    static unsigned int LengthCodeOf(unsigned int len)
    {
        unsigned int best = 0;
        for (unsigned int i = 0; i < 16; ++i) {
            const PkLengthCode& c = kPkLengthCodes[i];
            if (len >= c.base && len < c.base + (1u << c.extra))
                best = i;
        }
        return best;
    }

    // Reads up to a full chunk behind `end`; false when the input has ended.
    bool FillChunk(unsigned int& end)
    {
        const unsigned int target = front_ + kChunk;
        while (end < target) {
            unsigned int size = target - end;
            const unsigned int got = read_(reinterpret_cast<char*>(w_->window + end), &size, param_);
            if (got == 0 || got > target - end)
                return false;
            end += got;
        }
        return true;
    }

    // Moves the window down by one chunk: its last (dictionary + 516) bytes become the front.
    void Slide(unsigned int& pos, unsigned int& ins, unsigned int& end)
    {
        std::memmove(w_->window, w_->window + kChunk, end - kChunk);
        for (unsigned int i = 0; i < kHashSize; ++i)
            w_->head[i] = w_->head[i] != kNone && w_->head[i] >= kChunk
                              ? static_cast<uint16_t>(w_->head[i] - kChunk) : kNone;
        for (unsigned int i = 0; i + kChunk < end; ++i) {
            const uint16_t p = w_->prev[i + kChunk];
            w_->prev[i] = p != kNone && p >= kChunk ? static_cast<uint16_t>(p - kChunk) : kNone;
        }
        pos -= kChunk;
        ins -= kChunk;
        end -= kChunk;
    }

    // Indexes every pair position below `upTo`.
    void IndexUpTo(unsigned int& ins, unsigned int upTo)
    {
        for (; ins < upTo; ++ins) {
            const unsigned int h = PairHash(w_->window + ins);
            w_->prev[ins] = w_->head[h];
            w_->head[h] = static_cast<uint16_t>(ins);
        }
    }

    // The longest repetition for position q among positions 2 to (dictionary - 1) back;
    // the nearest among equally long ones. Gives its length (0: none), uncut.
    unsigned int FindRep(unsigned int& ins, unsigned int q, unsigned int& distance)
    {
        IndexUpTo(ins, q - 1);
        const uint8_t* win = w_->window;
        const uint8_t* s = win + q;
        const unsigned int lowest = q >= dictSize_ - 1 ? q - (dictSize_ - 1) : 0;
        unsigned int best = 1;
        unsigned int c = w_->head[PairHash(s)];
        while (c != kNone && c >= lowest) {
            const uint8_t* m = win + c;
            if (m[best] == s[best] && m[0] == s[0] && m[1] == s[1]) {
                const unsigned int len = MatchLength(m, s);
                if (len > best) {
                    best = len;
                    distance = q - c;
                    if (len >= kMaxSearch)
                        break;
                }
            }
            c = w_->prev[c];
        }
        return best >= 2 ? best : 0;
    }

    static bool TooFarForTwo(unsigned int len, unsigned int distance)
    {
        return len == 2 && distance - 1 >= 256;
    }

    void Pass(unsigned int& pos, unsigned int& ins, unsigned int end, bool last)
    {
        const unsigned int limit = last ? end : end - kMaxSearch;
        const uint8_t* win = w_->window;
        while (pos < limit) {
            unsigned int distance = 0;
            unsigned int len = FindRep(ins, pos, distance);
            for (;;) {
                if (len < 2 || TooFarForTwo(len, distance)) {
                    PutLiteral(win[pos++]);
                    break;
                }
                if (last && pos + len > end) {
                    // Cut to the input and written at once.
                    len = end - pos;
                    if (len < 2 || TooFarForTwo(len, distance)) {
                        PutLiteral(win[pos++]);
                        break;
                    }
                    PutRep(len, distance);
                    pos += len;
                    break;
                }
                if (len >= 8 || pos + 1 >= end) {
                    PutRep(len, distance);
                    pos += len;
                    break;
                }
                unsigned int nextDistance = 0;
                const unsigned int next = FindRep(ins, pos + 1, nextDistance);
                if (next > len && (next > len + 1 || distance - 1 > 128)) {
                    PutLiteral(win[pos++]);
                    if (!last && pos >= limit)
                        break;  // the next pass finds the same repetition with the bytes behind it in
                    len = next;
                    distance = nextDistance;
                    continue;
                }
                PutRep(len, distance);
                pos += len;
                break;
            }
        }
    }

    void PutBits(unsigned int count, uint32_t value)
    {
        bitBuf_ |= static_cast<uint64_t>(value) << bitCount_;
        bitCount_ += count;
        while (bitCount_ >= 8) {
            w_->out[outLen_++] = static_cast<uint8_t>(bitBuf_);
            bitBuf_ >>= 8;
            bitCount_ -= 8;
            if (outLen_ == kOutBlock) {
                unsigned int size = kOutBlock;
                write_(reinterpret_cast<char*>(w_->out), &size, param_);
                outLen_ = 0;
            }
        }
    }

    void PutLiteral(uint8_t byte)
    {
        if (type_ == kPkBinary) {
            PutBits(9, static_cast<uint32_t>(byte) << 1);
        } else {
            const PkCode& c = kPkAsciiCodes[byte];
            PutBits(c.bits + 1u, static_cast<uint32_t>(c.code) << 1);
        }
    }

    void PutLength(unsigned int len)
    {
        const PkLengthCode& c = kPkLengthCodes[lengthIndex_[len]];
        PutBits(c.bits + 1u, (static_cast<uint32_t>(c.code) << 1) | 1u);
        if (c.extra)
            PutBits(c.extra, len - c.base);
    }

    void PutRep(unsigned int len, unsigned int distance)
    {
        PutLength(len);
        const unsigned int low = len == 2 ? 2 : dictBits_;
        const unsigned int d = distance - 1;
        const PkCode& c = kPkDistanceCodes[d >> low];
        PutBits(c.bits, c.code);
        PutBits(low, d & ((1u << low) - 1));
    }

    void PutEnd()
    {
        PutLength(kPkEndLength);
        if (bitCount_ > 0)
            PutBits(8 - bitCount_, 0);  // the partial byte counts as a whole byte
        unsigned int size = outLen_;
        write_(reinterpret_cast<char*>(w_->out), &size, param_);
    }

    PkReadFn read_;
    PkWriteFn write_;
    ImplodeWork* w_;
    void* param_;
    unsigned int type_;
    unsigned int dictSize_;
    unsigned int dictBits_ = 6;
    unsigned int front_ = 0;
    uint8_t lengthIndex_[kPkEndLength + 1] = {};
    uint64_t bitBuf_ = 0;
    unsigned int bitCount_ = 0;
    unsigned int outLen_ = 0;
};

}  // namespace

unsigned int Implode(PkReadFn read, PkWriteFn write, char* workBuffer, void* param,
                     unsigned int* type, unsigned int* dictSize)
{
    if (dictSize == nullptr || (*dictSize != 1024 && *dictSize != 2048 && *dictSize != 4096))
        return kPkBadDictSize;
    if (type == nullptr || (*type != kPkBinary && *type != kPkAscii))
        return kPkBadType;
    const auto addr = reinterpret_cast<uintptr_t>(workBuffer);
    const uintptr_t pad = (alignof(ImplodeWork) - addr % alignof(ImplodeWork)) % alignof(ImplodeWork);
    Encoder encoder(read, write, reinterpret_cast<ImplodeWork*>(workBuffer + pad), param, *type,
                    *dictSize);
    encoder.Run();
    return kPkOk;
}

// Deflate's match finder: hash chains over a sliding window of 64 KiB and lazy match
// evaluation, feeding ct_tally and FlushBlock (DeflateTrees.cpp).

#include "archive/Deflate.h"

#include <cstring>
#include <new>

namespace {

struct LevelConfig {
    unsigned good_length;  // above this, the chain is searched for a quarter as long
    unsigned max_lazy;     // do not search further matches beyond this length
    unsigned nice_length;  // stop the search at a match this long
    unsigned max_chain;
};

const LevelConfig kLevels[10] = {
    {0, 0, 0, 0},         {4, 4, 8, 4},          {4, 5, 16, 8},        {4, 6, 32, 32},
    {4, 4, 16, 16},       {8, 16, 32, 32},       {8, 16, 128, 128},    {8, 32, 128, 256},
    {32, 128, 258, 1024}, {32, 258, 258, 4096},
};

constexpr uint32_t kNil = 0;  // window position 0 never starts a match

inline void UpdateHash(unsigned& h, uint8_t c)
{
    h = ((h << kDeflateHashShift) ^ c) & kDeflateHashMask;
}

// Inserts position `str` into its chain; gives the previous head.
inline uint32_t InsertString(stDeflateState* s, unsigned str)
{
    UpdateHash(s->ins_h, s->window[str + kDeflateMinMatch - 1]);
    const uint32_t head = s->head[s->ins_h];
    s->prev[str & kDeflateWMask] = head;
    s->head[s->ins_h] = str;
    return head;
}

// Common run of a and b, at most `limit` bytes.
inline unsigned CommonLength(const uint8_t* a, const uint8_t* b, unsigned limit)
{
    unsigned n = 0;
    while (n + 8 <= limit) {
        uint64_t x, y;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y)
            return n + (static_cast<unsigned>(__builtin_ctzll(x ^ y)) >> 3);
        n += 8;
    }
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

unsigned LongestMatch(stDeflateState* s, uint32_t cur_match)
{
    unsigned chain_length = s->max_chain_length;
    const uint8_t* const window = s->window;
    const uint8_t* const scan = window + s->strstart;
    unsigned best_len = s->prev_length;
    const uint32_t limit = s->strstart > kDeflateMaxDist ? s->strstart - kDeflateMaxDist : kNil;
    const unsigned nice = s->nice_match;

    if (s->prev_length >= s->good_match)
        chain_length >>= 2;
    if (s->strstart > s->window_size - kDeflateMinLookahead) {
        DeflateFail(s, "insufficient lookahead");
        return 0;
    }
    if (best_len < 1)
        best_len = 1;  // the checks below look at scan[best_len - 1]

    uint8_t scan_end1 = scan[best_len - 1];
    uint8_t scan_end = scan[best_len];
    do {
        if (cur_match >= s->strstart) {
            DeflateFail(s, "no future");
            return 0;
        }
        const uint8_t* match = window + cur_match;
        if (match[best_len] != scan_end || match[best_len - 1] != scan_end1 || match[0] != scan[0] ||
            match[1] != scan[1])
            continue;
        // All bytes compared, the third too: a chain may hold a position whose hash was
        // taken over fewer than three input bytes.
        const unsigned len = 2 + CommonLength(scan + 2, match + 2, kDeflateMaxMatch - 2);
        if (s->strstart + len > s->window_size) {
            DeflateFail(s, "wild scan");
            return 0;
        }
        if (len > best_len) {
            s->match_start = cur_match;
            best_len = len;
            if (len >= nice)
                break;
            scan_end1 = scan[best_len - 1];
            scan_end = scan[best_len];
        }
    } while ((cur_match = s->prev[cur_match & kDeflateWMask]) > limit && --chain_length != 0);
    return best_len;
}

// Before a slide: keeps the part of the current block that leaves the window, while the
// block may still become a stored block (at most 65535 bytes).
void KeepBlockBytes(stDeflateState* s)
{
    if (s->block_start >= static_cast<int64_t>(kDeflateWSize))
        return;  // nothing of the block leaves
    unsigned from = 0;
    if (s->block_start >= 0) {
        s->spill_len = 0;
        s->spill_ok = true;
        from = static_cast<unsigned>(s->block_start);
    }
    const unsigned n = kDeflateWSize - from;
    if (!s->spill_ok || s->spill_len + n > sizeof s->spill) {
        s->spill_ok = false;
        return;
    }
    std::memcpy(s->spill + s->spill_len, s->window + from, n);
    s->spill_len += n;
}

void FillWindow(stDeflateState* s)
{
    do {
        unsigned more = s->window_size - s->lookahead - s->strstart;
        if (s->strstart >= kDeflateWSize + kDeflateMaxDist && s->sliding) {
            KeepBlockBytes(s);
            std::memcpy(s->window, s->window + kDeflateWSize, kDeflateWSize);
            s->match_start -= kDeflateWSize;
            s->strstart -= kDeflateWSize;
            s->block_start -= kDeflateWSize;
            for (unsigned n = 0; n < kDeflateHashSize; n++) {
                const uint32_t m = s->head[n];
                s->head[n] = m >= kDeflateWSize ? m - kDeflateWSize : kNil;
            }
            for (unsigned n = 0; n < kDeflateWSize; n++) {
                const uint32_t m = s->prev[n];
                s->prev[n] = m >= kDeflateWSize ? m - kDeflateWSize : kNil;
            }
            more += kDeflateWSize;
        }
        if (s->eofile)
            return;
        if (more < 2) {
            DeflateFail(s, "more < 2");
            return;
        }
        const unsigned n = s->read(s, s->window + s->strstart + s->lookahead, more);
        if (n == 0 || n == 0xFFFFFFFFu || n > more) {
            s->eofile = true;
            return;
        }
        s->lookahead += n;
    } while (s->lookahead < kDeflateMinLookahead);
}

inline bool Flush(stDeflateState* s, bool eof)
{
    const uint8_t* buf = nullptr;
    if (s->block_start >= 0) {
        buf = s->window + s->block_start;
    } else if (s->spill_ok && s->spill_len + s->strstart <= sizeof s->spill) {
        std::memcpy(s->spill + s->spill_len, s->window, s->strstart);
        buf = s->spill;
    }
    s->spill_ok = false;
    s->spill_len = 0;
    FlushBlock(s, buf, static_cast<uint64_t>(static_cast<int64_t>(s->strstart) - s->block_start), eof);
    s->block_start = s->strstart;
    return s->error == nullptr;
}

// Levels 1 to 3: a match found is taken at once.
uint64_t DeflateFast(stDeflateState* s)
{
    unsigned match_length = 0;
    s->prev_length = kDeflateMinMatch - 1;
    while (s->lookahead != 0 && !s->error) {
        const uint32_t hash_head = InsertString(s, s->strstart);
        if (hash_head != kNil && s->strstart - hash_head <= kDeflateMaxDist) {
            if (s->nice_match > s->lookahead)
                s->nice_match = s->lookahead;
            match_length = LongestMatch(s, hash_head);
            if (match_length > s->lookahead)
                match_length = s->lookahead;
        }
        bool flush;
        if (match_length >= static_cast<unsigned>(kDeflateMinMatch)) {
            flush = ct_tally(s, s->strstart - s->match_start, match_length - kDeflateMinMatch);
            s->lookahead -= match_length;
            // max_lazy serves as the insert limit at these levels.
            if (match_length <= s->max_lazy_match && s->lookahead >= static_cast<unsigned>(kDeflateMinMatch)) {
                match_length--;
                do {
                    s->strstart++;
                    InsertString(s, s->strstart);
                } while (--match_length != 0);
                s->strstart++;
            } else {
                s->strstart += match_length;
                match_length = 0;
                s->ins_h = s->window[s->strstart];
                UpdateHash(s->ins_h, s->window[s->strstart + 1]);
            }
        } else {
            flush = ct_tally(s, 0, s->window[s->strstart]);
            s->lookahead--;
            s->strstart++;
        }
        if (s->error)
            break;
        if (flush && !Flush(s, false))
            break;
        while (s->lookahead < kDeflateMinLookahead && !s->eofile && !s->error)
            FillWindow(s);
    }
    if (s->error)
        return 0;
    Flush(s, true);
    return s->cmpr_bits >> 3;
}

// Levels 4 to 9: a match is kept pending while the next position may give a longer one.
uint64_t DeflateLazy(stDeflateState* s)
{
    unsigned match_length = kDeflateMinMatch - 1;
    bool match_available = false;
    while (s->lookahead != 0 && !s->error) {
        const uint32_t hash_head = InsertString(s, s->strstart);
        s->prev_length = match_length;
        const unsigned prev_match = s->match_start;
        match_length = kDeflateMinMatch - 1;

        if (hash_head != kNil && s->prev_length < s->max_lazy_match &&
            s->strstart - hash_head <= kDeflateMaxDist) {
            if (s->nice_match > s->lookahead)
                s->nice_match = s->lookahead;
            match_length = LongestMatch(s, hash_head);
            if (match_length > s->lookahead)
                match_length = s->lookahead;
            if (match_length == static_cast<unsigned>(kDeflateMinMatch) &&
                s->strstart - s->match_start > kDeflateTooFar)
                match_length = kDeflateMinMatch - 1;
        }
        if (s->error)
            break;

        if (s->prev_length >= static_cast<unsigned>(kDeflateMinMatch) && match_length <= s->prev_length) {
            const unsigned max_insert = s->strstart + s->lookahead - kDeflateMinMatch;
            const bool flush =
                ct_tally(s, s->strstart - 1 - prev_match, s->prev_length - kDeflateMinMatch);
            s->lookahead -= s->prev_length - 1;
            unsigned left = s->prev_length - 2;
            do {
                if (++s->strstart <= max_insert)
                    InsertString(s, s->strstart);
            } while (--left != 0);
            match_available = false;
            match_length = kDeflateMinMatch - 1;
            s->strstart++;
            if (s->error)
                break;
            if (flush && !Flush(s, false))
                break;
        } else if (match_available) {
            const bool flush = ct_tally(s, 0, s->window[s->strstart - 1]);
            if (s->error)
                break;
            if (flush && !Flush(s, false))
                break;
            s->strstart++;
            s->lookahead--;
        } else {
            match_available = true;
            s->strstart++;
            s->lookahead--;
        }
        while (s->lookahead < kDeflateMinLookahead && !s->eofile && !s->error)
            FillWindow(s);
    }
    if (s->error)
        return 0;
    if (match_available)
        ct_tally(s, 0, s->window[s->strstart - 1]);
    if (s->error)
        return 0;
    Flush(s, true);
    return s->cmpr_bits >> 3;
}

}  // namespace

stDeflateState* CreateDeflateState()
{
    return new (std::nothrow) stDeflateState();
}

void SetPackLevel(stDeflateState* s, int level, uint16_t* flags)
{
    if (level < 1 || level > 8) {
        DeflateFail(s, "bad pack level");
        return;
    }
    s->level = level;
    s->sliding = true;
    if (s->window_size == 0)
        s->window_size = 2 * kDeflateWSize;
    std::memset(s->head, 0, sizeof s->head);
    std::memset(s->prev, 0, sizeof s->prev);
    // A clean window, so that an entry's output never depends on an earlier entry.
    std::memset(s->window, 0, sizeof s->window);

    const LevelConfig& c = kLevels[level];
    s->max_lazy_match = c.max_lazy;
    s->good_match = c.good_length;
    s->nice_match = c.nice_length;
    s->max_chain_length = c.max_chain;
    if (flags != nullptr) {
        if (level <= 2)
            *flags = static_cast<uint16_t>(*flags | 4);
        else if (level >= 8)
            *flags = static_cast<uint16_t>(*flags | 2);
    }

    s->strstart = 0;
    s->block_start = 0;
    s->spill_ok = false;
    s->spill_len = 0;
    s->match_start = 0;
    s->prev_length = 0;
    s->ins_h = 0;
    s->eofile = false;
    s->lookahead = 0;
    const unsigned n = s->read(s, s->window, 2 * kDeflateWSize);
    if (n == 0 || n == 0xFFFFFFFFu || n > 2 * kDeflateWSize) {
        s->eofile = true;
        return;
    }
    s->lookahead = n;
    while (s->lookahead < kDeflateMinLookahead && !s->eofile && !s->error)
        FillWindow(s);
    for (int j = 0; j < kDeflateMinMatch - 1; j++)
        UpdateHash(s->ins_h, s->window[j]);
}

uint64_t Deflate(stDeflateState* s)
{
    if (s->error)
        return 0;
    return s->level <= 3 ? DeflateFast(s) : DeflateLazy(s);
}

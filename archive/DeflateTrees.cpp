// Deflate's Huffman trees, block output and bit output (RFC 1951).

#include <cstring>

#include "archive/Deflate.h"

namespace {

// Extra bits of each length, distance and bit-length code (RFC 1951).
const int kExtraLBits[kDeflateLengthCodes] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const int kExtraDBits[kDeflateDCodes] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
const int kExtraBlBits[kDeflateBlCodes] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};
// Order in which the bit-length code lengths are sent.
const uint8_t kBlOrder[kDeflateBlCodes] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

constexpr int kRep3To6 = 16;      // repeat previous length 3-6 times (2 extra bits)
constexpr int kRepz3To10 = 17;    // repeat zero 3-10 times (3 extra bits)
constexpr int kRepz11To138 = 18;  // repeat zero 11-138 times (7 extra bits)
constexpr int kStoredBlock = 0;
constexpr int kStaticTrees = 1;
constexpr int kDynTrees = 2;
constexpr unsigned kMaxStored = 0xFFFF;  // LEN of a stored block is 16 bits

unsigned BitReverse(unsigned code, int len)
{
    unsigned res = 0;
    do {
        res |= code & 1;
        code >>= 1;
        res <<= 1;
    } while (--len > 0);
    return res >> 1;
}

inline unsigned DCode(const stDeflateState* s, unsigned dist)
{
    return dist < 256 ? s->dist_code[dist] : s->dist_code[256 + (dist >> 7)];
}

// --- Bit output ---

void FlushOutBuf(stDeflateState* s)
{
    if (s->out_offset == 0 || s->error)
        return;
    if (!s->flush_flag)
        return;
    const unsigned size = s->out_offset;
    const unsigned done = s->write(s->param, s->out_buf, &s->out_offset);
    if (done != size || s->out_offset != 0) {
        // The entry fails; the buffer is emptied so that it is never overrun.
        DeflateFail(s, "write error");
        s->out_offset = 0;
    }
}

inline void PutByte(stDeflateState* s, uint8_t c)
{
    if (s->out_offset >= s->out_size) {
        FlushOutBuf(s);
        if (s->out_offset >= s->out_size) {  // no flushing: the output does not fit
            DeflateFail(s, "output buffer too small for in-memory compression");
            return;
        }
    }
    s->out_buf[s->out_offset++] = c;
}

inline void PutShort(stDeflateState* s, uint16_t w)
{
    if (s->out_offset >= s->out_size - 1) {
        FlushOutBuf(s);
        if (s->out_offset >= s->out_size - 1) {
            DeflateFail(s, "output buffer too small for in-memory compression");
            return;
        }
    }
    s->out_buf[s->out_offset++] = static_cast<uint8_t>(w & 0xFF);
    s->out_buf[s->out_offset++] = static_cast<uint8_t>(w >> 8);
}

inline void SendBits(stDeflateState* s, unsigned value, int length)
{
    if (length < 1 || length > 15) {
        DeflateFail(s, "invalid length");
        return;
    }
    s->bits_sent += static_cast<unsigned>(length);
    if (s->bi_valid > 16 - length) {
        s->bi_buf = static_cast<uint16_t>(s->bi_buf | (value << s->bi_valid));
        PutShort(s, s->bi_buf);
        s->bi_buf = static_cast<uint16_t>(value >> (16 - s->bi_valid));
        s->bi_valid += length - 16;
    } else {
        s->bi_buf = static_cast<uint16_t>(s->bi_buf | (value << s->bi_valid));
        s->bi_valid += length;
    }
}

inline void SendCode(stDeflateState* s, int c, const stTreeNode* tree)
{
    SendBits(s, tree[c].fc, tree[c].dl);
}

void BiWindup(stDeflateState* s)
{
    if (s->bi_valid > 8)
        PutShort(s, s->bi_buf);
    else if (s->bi_valid > 0)
        PutByte(s, static_cast<uint8_t>(s->bi_buf));
    s->bi_buf = 0;
    s->bi_valid = 0;
    s->bits_sent = (s->bits_sent + 7) & ~static_cast<uint64_t>(7);
}

// A stored block's data goes from the window to the write callback in one write.
void CopyBlock(stDeflateState* s, const uint8_t* buf, unsigned len)
{
    BiWindup(s);
    PutShort(s, static_cast<uint16_t>(len));
    PutShort(s, static_cast<uint16_t>(~len));
    s->bits_sent += 2 * 16;
    if (s->flush_flag) {
        FlushOutBuf(s);
        if (len > 0 && !s->error) {
            unsigned size = len;
            const unsigned done = s->write(s->param, buf, &size);
            if (done != len)
                DeflateFail(s, "write error");
        }
    } else {
        for (unsigned i = 0; i < len && !s->error; ++i)
            PutByte(s, buf[i]);
    }
    s->bits_sent += static_cast<uint64_t>(len) << 3;
}

// --- Trees ---

void InitBlock(stDeflateState* s)
{
    for (int n = 0; n < kDeflateLCodes; n++)
        s->dyn_ltree[n].fc = 0;
    for (int n = 0; n < kDeflateDCodes; n++)
        s->dyn_dtree[n].fc = 0;
    for (int n = 0; n < kDeflateBlCodes; n++)
        s->bl_tree[n].fc = 0;
    s->dyn_ltree[kDeflateEndBlock].fc = 1;
    s->opt_len = s->static_len = 0;
    s->last_lit = s->last_dist = s->last_flags = 0;
    s->flags = 0;
    s->flag_bit = 1;
}

inline bool Smaller(const stTreeNode* tree, int n, int m, const uint8_t* depth)
{
    return tree[n].fc < tree[m].fc || (tree[n].fc == tree[m].fc && depth[n] <= depth[m]);
}

void PqDownHeap(stDeflateState* s, const stTreeNode* tree, int k)
{
    const int v = s->heap[k];
    int j = k << 1;
    while (j <= s->heap_len) {
        if (j < s->heap_len && Smaller(tree, s->heap[j + 1], s->heap[j], s->depth))
            j++;
        if (Smaller(tree, v, s->heap[j], s->depth))
            break;
        s->heap[k] = s->heap[j];
        k = j;
        j <<= 1;
    }
    s->heap[k] = v;
}

// Code lengths from the tree, limited to the descriptor's maximum; updates opt_len and
// static_len.
void GenBitLen(stDeflateState* s, stTreeDesc* desc)
{
    stTreeNode* tree = desc->dyn_tree;
    const int max_code = desc->max_code;
    const stTreeNode* stree = desc->static_tree;
    const int* extra = desc->extra_bits;
    const int base = desc->extra_base;
    const int max_length = desc->max_length;
    int overflow = 0;

    for (int bits = 0; bits <= kDeflateMaxBits; bits++)
        s->bl_count[bits] = 0;
    tree[s->heap[s->heap_max]].dl = 0;  // the root

    int h;
    for (h = s->heap_max + 1; h < kDeflateHeapSize; h++) {
        const int n = s->heap[h];
        int bits = tree[tree[n].dl].dl + 1;
        if (bits > max_length) {
            bits = max_length;
            overflow++;
        }
        tree[n].dl = static_cast<uint16_t>(bits);
        if (n > max_code)
            continue;  // not a leaf
        s->bl_count[bits]++;
        const int xbits = n >= base ? extra[n - base] : 0;
        const uint64_t f = tree[n].fc;
        s->opt_len += f * static_cast<unsigned>(bits + xbits);
        if (stree)
            s->static_len += f * static_cast<unsigned>(stree[n].dl + xbits);
    }
    if (overflow == 0)
        return;

    do {
        int bits = max_length - 1;
        while (s->bl_count[bits] == 0)
            bits--;
        s->bl_count[bits]--;
        s->bl_count[bits + 1] += 2;
        s->bl_count[max_length]--;
        overflow -= 2;
    } while (overflow > 0);

    h = kDeflateHeapSize;
    for (int bits = max_length; bits != 0; bits--) {
        int n = s->bl_count[bits];
        while (n != 0) {
            const int m = s->heap[--h];
            if (m > max_code)
                continue;
            if (tree[m].dl != static_cast<unsigned>(bits)) {
                s->opt_len += (static_cast<int64_t>(bits) - tree[m].dl) * static_cast<int64_t>(tree[m].fc);
                tree[m].dl = static_cast<uint16_t>(bits);
            }
            n--;
        }
    }
}

void GenCodes(stDeflateState* s, stTreeNode* tree, int max_code, const uint16_t* bl_count)
{
    uint16_t next_code[kDeflateMaxBits + 1];
    unsigned code = 0;
    for (int bits = 1; bits <= kDeflateMaxBits; bits++) {
        code = (code + bl_count[bits - 1]) << 1;
        next_code[bits] = static_cast<uint16_t>(code);
    }
    if (code + bl_count[kDeflateMaxBits] - 1 != (1u << kDeflateMaxBits) - 1) {
        DeflateFail(s, "inconsistent bit counts");
        return;
    }
    for (int n = 0; n <= max_code; n++) {
        const int len = tree[n].dl;
        if (len == 0)
            continue;
        tree[n].fc = static_cast<uint16_t>(BitReverse(next_code[len]++, len));
    }
}

void BuildTree(stDeflateState* s, stTreeDesc* desc)
{
    stTreeNode* tree = desc->dyn_tree;
    const stTreeNode* stree = desc->static_tree;
    const int elems = desc->elems;
    int max_code = -1;

    s->heap_len = 0;
    s->heap_max = kDeflateHeapSize;
    for (int n = 0; n < elems; n++) {
        if (tree[n].fc != 0) {
            s->heap[++s->heap_len] = max_code = n;
            s->depth[n] = 0;
        } else {
            tree[n].dl = 0;
        }
    }
    // At least two codes of non-zero frequency, so that a code has at least one bit.
    while (s->heap_len < 2) {
        const int node = s->heap[++s->heap_len] = (max_code < 2 ? ++max_code : 0);
        tree[node].fc = 1;
        s->depth[node] = 0;
        s->opt_len--;
        if (stree)
            s->static_len -= stree[node].dl;
    }
    desc->max_code = max_code;

    for (int n = s->heap_len / 2; n >= 1; n--)
        PqDownHeap(s, tree, n);

    int node = elems;
    do {
        const int n = s->heap[1];
        s->heap[1] = s->heap[s->heap_len--];
        PqDownHeap(s, tree, 1);
        const int m = s->heap[1];
        s->heap[--s->heap_max] = n;
        s->heap[--s->heap_max] = m;
        tree[node].fc = static_cast<uint16_t>(tree[n].fc + tree[m].fc);
        s->depth[node] = static_cast<uint8_t>((s->depth[n] >= s->depth[m] ? s->depth[n] : s->depth[m]) + 1);
        tree[n].dl = tree[m].dl = static_cast<uint16_t>(node);
        s->heap[1] = node++;
        PqDownHeap(s, tree, 1);
    } while (s->heap_len >= 2);
    s->heap[--s->heap_max] = s->heap[1];

    GenBitLen(s, desc);
    GenCodes(s, tree, max_code, s->bl_count);
}

void ScanTree(stDeflateState* s, stTreeNode* tree, int max_code)
{
    int prevlen = -1;
    int nextlen = tree[0].dl;
    int count = 0;
    int max_count = 7;
    int min_count = 4;
    if (nextlen == 0)
        max_count = 138, min_count = 3;
    tree[max_code + 1].dl = 0xFFFF;  // guard
    for (int n = 0; n <= max_code; n++) {
        const int curlen = nextlen;
        nextlen = tree[n + 1].dl;
        if (++count < max_count && curlen == nextlen)
            continue;
        if (count < min_count) {
            s->bl_tree[curlen].fc = static_cast<uint16_t>(s->bl_tree[curlen].fc + count);
        } else if (curlen != 0) {
            if (curlen != prevlen)
                s->bl_tree[curlen].fc++;
            s->bl_tree[kRep3To6].fc++;
        } else if (count <= 10) {
            s->bl_tree[kRepz3To10].fc++;
        } else {
            s->bl_tree[kRepz11To138].fc++;
        }
        count = 0;
        prevlen = curlen;
        if (nextlen == 0)
            max_count = 138, min_count = 3;
        else if (curlen == nextlen)
            max_count = 6, min_count = 3;
        else
            max_count = 7, min_count = 4;
    }
}

void SendTree(stDeflateState* s, stTreeNode* tree, int max_code)
{
    int prevlen = -1;
    int nextlen = tree[0].dl;
    int count = 0;
    int max_count = 7;
    int min_count = 4;
    if (nextlen == 0)
        max_count = 138, min_count = 3;
    for (int n = 0; n <= max_code && !s->error; n++) {
        const int curlen = nextlen;
        nextlen = tree[n + 1].dl;
        if (++count < max_count && curlen == nextlen)
            continue;
        if (count < min_count) {
            do
                SendCode(s, curlen, s->bl_tree);
            while (--count != 0);
        } else if (curlen != 0) {
            if (curlen != prevlen) {
                SendCode(s, curlen, s->bl_tree);
                count--;
            }
            if (count < 3 || count > 6) {
                DeflateFail(s, " 3_6?");
                return;
            }
            SendCode(s, kRep3To6, s->bl_tree);
            SendBits(s, static_cast<unsigned>(count - 3), 2);
        } else if (count <= 10) {
            SendCode(s, kRepz3To10, s->bl_tree);
            SendBits(s, static_cast<unsigned>(count - 3), 3);
        } else {
            SendCode(s, kRepz11To138, s->bl_tree);
            SendBits(s, static_cast<unsigned>(count - 11), 7);
        }
        count = 0;
        prevlen = curlen;
        if (nextlen == 0)
            max_count = 138, min_count = 3;
        else if (curlen == nextlen)
            max_count = 6, min_count = 3;
        else
            max_count = 7, min_count = 4;
    }
}

int BuildBlTree(stDeflateState* s)
{
    ScanTree(s, s->dyn_ltree, s->l_desc.max_code);
    ScanTree(s, s->dyn_dtree, s->d_desc.max_code);
    BuildTree(s, &s->bl_desc);
    int max_blindex;
    for (max_blindex = kDeflateBlCodes - 1; max_blindex >= 3; max_blindex--) {
        if (s->bl_tree[kBlOrder[max_blindex]].dl != 0)
            break;
    }
    s->opt_len += 3 * (static_cast<uint64_t>(max_blindex) + 1) + 5 + 5 + 4;
    return max_blindex;
}

void SendAllTrees(stDeflateState* s, int lcodes, int dcodes, int blcodes)
{
    if (lcodes < 257 || dcodes < 1 || blcodes < 4) {
        DeflateFail(s, "not enough codes");
        return;
    }
    if (lcodes > kDeflateLCodes || dcodes > kDeflateDCodes || blcodes > kDeflateBlCodes) {
        DeflateFail(s, "too many codes");
        return;
    }
    SendBits(s, static_cast<unsigned>(lcodes - 257), 5);
    SendBits(s, static_cast<unsigned>(dcodes - 1), 5);
    SendBits(s, static_cast<unsigned>(blcodes - 4), 4);
    for (int rank = 0; rank < blcodes; rank++)
        SendBits(s, s->bl_tree[kBlOrder[rank]].dl, 3);
    SendTree(s, s->dyn_ltree, lcodes - 1);
    SendTree(s, s->dyn_dtree, dcodes - 1);
}

void CompressBlock(stDeflateState* s, const stTreeNode* ltree, const stTreeNode* dtree)
{
    unsigned lx = 0, dx = 0, fx = 0;
    unsigned flag = 0;
    while (lx < s->last_lit && !s->error) {
        if ((lx & 7) == 0)
            flag = s->flag_buf[fx++];
        unsigned lc = s->l_buf[lx++];
        if ((flag & 1) == 0) {
            SendCode(s, static_cast<int>(lc), ltree);
        } else {
            unsigned code = s->length_code[lc];
            SendCode(s, static_cast<int>(code) + kDeflateLiterals + 1, ltree);
            int extra = kExtraLBits[code];
            if (extra != 0)
                SendBits(s, lc - static_cast<unsigned>(s->base_length[code]), extra);
            unsigned dist = s->d_buf[dx++];
            code = DCode(s, dist);
            if (code >= static_cast<unsigned>(kDeflateDCodes)) {
                DeflateFail(s, "bad d_code");
                return;
            }
            SendCode(s, static_cast<int>(code), dtree);
            extra = kExtraDBits[code];
            if (extra != 0)
                SendBits(s, dist - static_cast<unsigned>(s->base_dist[code]), extra);
        }
        flag >>= 1;
    }
    SendCode(s, kDeflateEndBlock, ltree);
}

void BuildStaticTables(stDeflateState* s)
{
    int length = 0;
    int code;
    for (code = 0; code < kDeflateLengthCodes - 1; code++) {
        s->base_length[code] = length;
        for (int n = 0; n < (1 << kExtraLBits[code]); n++)
            s->length_code[length++] = static_cast<uint8_t>(code);
    }
    if (length != 256)
        DeflateFail(s, "ct_init: length != 256");
    // Length 258 has a code of its own; it replaces the last entry of code 27.
    s->length_code[length - 1] = static_cast<uint8_t>(code);
    s->base_length[code] = 258 - kDeflateMinMatch;

    int dist = 0;
    for (code = 0; code < 16; code++) {
        s->base_dist[code] = dist;
        for (int n = 0; n < (1 << kExtraDBits[code]); n++)
            s->dist_code[dist++] = static_cast<uint8_t>(code);
    }
    if (dist != 256)
        DeflateFail(s, "ct_init: dist != 256");
    dist >>= 7;
    for (; code < kDeflateDCodes; code++) {
        s->base_dist[code] = dist << 7;
        for (int n = 0; n < (1 << (kExtraDBits[code] - 7)); n++)
            s->dist_code[256 + dist++] = static_cast<uint8_t>(code);
    }
    if (dist != 256)
        DeflateFail(s, "ct_init: 256+dist != 512");

    uint16_t count[kDeflateMaxBits + 1] = {};
    int n = 0;
    while (n <= 143) s->static_ltree[n++].dl = 8, count[8]++;
    while (n <= 255) s->static_ltree[n++].dl = 9, count[9]++;
    while (n <= 279) s->static_ltree[n++].dl = 7, count[7]++;
    while (n <= 287) s->static_ltree[n++].dl = 8, count[8]++;
    GenCodes(s, s->static_ltree, kDeflateLCodes + 1, count);
    for (n = 0; n < kDeflateDCodes; n++) {
        s->static_dtree[n].dl = 5;
        s->static_dtree[n].fc = static_cast<uint16_t>(BitReverse(static_cast<unsigned>(n), 5));
    }
    s->static_built = true;
}

}  // namespace

void DeflateFail(stDeflateState* s, const char* message)
{
    s->error = message;
}

void InitBitOutput(stDeflateState* s, uint8_t* buffer, unsigned size, int flush)
{
    s->out_buf = buffer;
    s->out_size = size;
    s->out_offset = 0;
    s->flush_flag = flush;
    s->bi_buf = 0;
    s->bi_valid = 0;
    s->bits_sent = 0;
}

void ct_init(stDeflateState* s, uint16_t* attr)
{
    s->file_type = attr;
    s->cmpr_bits = 0;
    s->input_len = 0;
    s->l_desc = {s->dyn_ltree, s->static_ltree, kExtraLBits, kDeflateLiterals + 1, kDeflateLCodes,
                 kDeflateMaxBits, 0};
    s->d_desc = {s->dyn_dtree, s->static_dtree, kExtraDBits, 0, kDeflateDCodes, kDeflateMaxBits, 0};
    s->bl_desc = {s->bl_tree, nullptr, kExtraBlBits, 0, kDeflateBlCodes, kDeflateMaxBlBits, 0};
    if (!s->static_built)
        BuildStaticTables(s);
    InitBlock(s);
}

bool ct_tally(stDeflateState* s, unsigned dist, unsigned lc)
{
    s->l_buf[s->last_lit++] = static_cast<uint8_t>(lc);
    if (dist == 0) {
        s->dyn_ltree[lc].fc++;  // lc is the literal byte
    } else {
        dist--;  // dist is now the match distance - 1
        if (dist >= kDeflateMaxDist || lc > static_cast<unsigned>(kDeflateMaxMatch - kDeflateMinMatch) ||
            DCode(s, dist) >= static_cast<unsigned>(kDeflateDCodes)) {
            DeflateFail(s, "ct_tally: bad match");
            return true;
        }
        s->dyn_ltree[s->length_code[lc] + kDeflateLiterals + 1].fc++;
        s->dyn_dtree[DCode(s, dist)].fc++;
        s->d_buf[s->last_dist++] = static_cast<uint16_t>(dist);
        s->flags = static_cast<uint8_t>(s->flags | s->flag_bit);
    }
    s->flag_bit = static_cast<uint8_t>(s->flag_bit << 1);
    if ((s->last_lit & 7) == 0) {
        s->flag_buf[s->last_flags++] = s->flags;
        s->flags = 0;
        s->flag_bit = 1;
    }
    // Ends a block early when it compresses well but holds few matches.
    if (s->level > 2 && (s->last_lit & 0xFFF) == 0) {
        uint64_t out_length = static_cast<uint64_t>(s->last_lit) * 8;
        const uint64_t in_length = static_cast<uint64_t>(static_cast<int64_t>(s->strstart) - s->block_start);
        for (int dcode = 0; dcode < kDeflateDCodes; dcode++)
            out_length += static_cast<uint64_t>(s->dyn_dtree[dcode].fc) * (5 + kExtraDBits[dcode]);
        out_length >>= 3;
        if (s->last_dist < s->last_lit / 2 && out_length < in_length / 2)
            return true;
    }
    return s->last_lit == kDeflateLitBufSize - 1 || s->last_dist == kDeflateDistBufSize;
}

uint64_t FlushBlock(stDeflateState* s, const uint8_t* buf, uint64_t stored_len, bool eof)
{
    if (s->error)
        return 0;
    s->flag_buf[s->last_flags] = s->flags;  // the flags of the last items

    BuildTree(s, &s->l_desc);
    BuildTree(s, &s->d_desc);
    const int max_blindex = BuildBlTree(s);

    uint64_t opt_lenb = (s->opt_len + 3 + 7) >> 3;
    const uint64_t static_lenb = (s->static_len + 3 + 7) >> 3;
    s->input_len += stored_len;
    if (static_lenb <= opt_lenb)
        opt_lenb = static_lenb;

    if (stored_len + 4 <= opt_lenb && buf != nullptr && stored_len <= kMaxStored) {
        SendBits(s, (kStoredBlock << 1) + (eof ? 1 : 0), 3);
        s->cmpr_bits = (s->cmpr_bits + 3 + 7) & ~static_cast<uint64_t>(7);
        s->cmpr_bits += (stored_len + 4) << 3;
        CopyBlock(s, buf, static_cast<unsigned>(stored_len));
    } else if (static_lenb == opt_lenb) {
        SendBits(s, (kStaticTrees << 1) + (eof ? 1 : 0), 3);
        CompressBlock(s, s->static_ltree, s->static_dtree);
        s->cmpr_bits += 3 + s->static_len;
    } else {
        SendBits(s, (kDynTrees << 1) + (eof ? 1 : 0), 3);
        SendAllTrees(s, s->l_desc.max_code + 1, s->d_desc.max_code + 1, max_blindex + 1);
        CompressBlock(s, s->dyn_ltree, s->dyn_dtree);
        s->cmpr_bits += 3 + s->opt_len;
    }
    if (s->cmpr_bits != s->bits_sent && !s->error)
        DeflateFail(s, "bad compressed size");
    InitBlock(s);
    if (eof) {
        BiWindup(s);
        s->cmpr_bits += 7;
        FlushOutBuf(s);
    }
    return s->cmpr_bits >> 3;
}
